// The entry point of the Windows test programs. Once the tests have run,
// the program ends at once with their result: under Wine, the ordinary
// exit (DLL detach, the threads of the print spooler and the window system
// still winding down) can now and then wait for ever, and a test program
// that has finished its tests must not outlive them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;  // not reached
}
