// songtool's command line.
#pragma once

#include <string>
#include <vector>

namespace lyro {

enum class ToolCommand { import, export_songs, check, help, usage_error };

struct ToolArgs {
    ToolCommand command = ToolCommand::usage_error;
    std::string book = "songbook.lyr";
    std::vector<std::string> files;  // import: the ChordPro files
    std::string dir;                 // export: the folder
    bool dropped = false;            // file names alone: files dropped on the program
    std::string problem;             // usage_error: what was wrong
};

// `args` without the program's name. With `files_alone_import` (on
// Windows, where Explorer starts a program with the files dropped on it),
// file names without a command are imported into the songbook in
// `program_folder`.
ToolArgs parse_tool_args(const std::vector<std::string>& args, bool files_alone_import,
                         const std::string& program_folder);

inline constexpr const char* kToolUsage =
    "usage: songtool [--book PATH] import FILE...\n"
    "       songtool [--book PATH] export DIR\n"
    "       songtool [--book PATH] check\n"
    "Works on songbook.lyr in the current folder unless --book names another.\n";

}  // namespace lyro
