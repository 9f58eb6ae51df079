// songtool's three commands over the songbook's files: each writes its
// report to `out`, its failures to `err`, and returns the exit status.
#pragma once

#include <ostream>

#include "platform/save_files.h"
#include "songtool/songtool_args.h"

namespace lyro {

// 0 when every file was imported, 1 when any was skipped or the songbook
// could not be read or saved (then it is unchanged).
int run_import(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err);

// 0 when every song was written, 1 otherwise.
int run_export(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err);

// 1 when the songbook has any trap, 0 when none.
int run_check(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err);

// Parses the arguments and runs the command (2 for a usage error).
int run_songtool(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err);

}  // namespace lyro
