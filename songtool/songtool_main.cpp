// songtool: brings ChordPro songs into the songbook, takes them out again,
// and checks the songbook for its traps. See songtool_args.h for its
// command line.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/save_files.h"
#include "songtool/songtool_args.h"
#include "songtool/songtool_commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#if defined(_WIN32)
    // Explorer starts a program with the files dropped on it, and the
    // program's own full path first.
    constexpr bool files_alone_import = true;
#else
    constexpr bool files_alone_import = false;
#endif
    const std::string folder =
        argc > 0 ? std::filesystem::path(argv[0]).parent_path().string() : std::string(".");
    const lyro::ToolArgs parsed = lyro::parse_tool_args(args, files_alone_import, folder);
    lyro::SystemFiles files;
    const int status = lyro::run_songtool(files, parsed, std::cout, std::cerr);
    if (parsed.dropped) {
        // The window closes with the program: keep the report readable.
        std::cout << "Press Enter to close this window." << std::endl;
        std::cin.get();
    }
    return status;
}
