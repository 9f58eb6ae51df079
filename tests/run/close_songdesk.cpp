// close_songdesk: waits until songdesk, started by someone else, shows its
// library dialog, then ends it in order, as a user would: every dialog and
// question it shows is answered No, OK or Cancel, and its main window is
// closed. Exits 0 once songdesk's windows are gone, 1 if the library never
// appeared, 2 if songdesk did not end within the time allowed. With
// --wait-only it only waits for the library dialog, and leaves songdesk be.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kLibraryCaption = "List of Songs Available";

HWND wait_for_library(DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        HWND library = FindWindowA("#32770", kLibraryCaption);
        if (library && IsWindowVisible(library)) return library;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK close_one(HWND window, LPARAM) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770") {
        if (IsWindowEnabled(window))
            for (int id : {IDNO, IDOK, IDCANCEL})
                PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    } else if (GetWindow(window, GW_OWNER) == nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

BOOL CALLBACK count_visible(HWND window, LPARAM count) {
    if (IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    HWND library = wait_for_library(60000);
    if (!library) {
        std::puts("songdesk's library dialog did not appear");
        return 1;
    }
    if (argc > 1 && std::string(argv[1]) == "--wait-only") return 0;
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(library, &process);
    std::printf("songdesk's library dialog is up (process %lu)\n", process);
    for (int round = 0; round < 300; ++round) {
        int visible = 0;
        EnumThreadWindows(thread, count_visible, reinterpret_cast<LPARAM>(&visible));
        if (visible == 0) return 0;
        EnumThreadWindows(thread, close_one, 0);
        Sleep(100);
    }
    std::puts("songdesk did not end");
    return 2;
}
