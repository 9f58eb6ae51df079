// Reading songtool's command line; see songtool_args.h.
#include "songtool/songtool_args.h"

#include <filesystem>

namespace lyro {

namespace {

ToolArgs usage_error(std::string problem) {
    ToolArgs args;
    args.problem = std::move(problem);
    return args;
}

ToolArgs with_command(const std::string& word, std::vector<std::string> rest, std::string book) {
    ToolArgs args;
    args.book = std::move(book);
    if (word == "import") {
        if (rest.empty()) return usage_error("import needs at least one file");
        args.command = ToolCommand::import;
        args.files = std::move(rest);
    } else if (word == "export") {
        if (rest.size() != 1) return usage_error("export needs one folder");
        args.command = ToolCommand::export_songs;
        args.dir = rest.front();
    } else if (word == "check") {
        if (!rest.empty()) return usage_error("check takes no arguments");
        args.command = ToolCommand::check;
    } else {
        return usage_error("unknown command \"" + word + "\"");
    }
    return args;
}

}  // namespace

ToolArgs parse_tool_args(const std::vector<std::string>& args, bool files_alone_import,
                         const std::string& program_folder) {
    std::string book = "songbook.lyr";
    bool book_given = false;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            ToolArgs help;
            help.command = ToolCommand::help;
            return help;
        }
        if (args[i] == "--book") {
            if (i + 1 >= args.size()) return usage_error("--book needs a path");
            book = args[++i];
            book_given = true;
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.empty()) return usage_error("no command");
    const std::string word = words.front();
    words.erase(words.begin());
    const bool command_word = word == "import" || word == "export" || word == "check";
    if (!command_word && files_alone_import && !book_given) {
        // Dropped on the program: the songbook beside it.
        words.insert(words.begin(), word);
        ToolArgs dropped = with_command("import", std::move(words),
                                        (std::filesystem::path(program_folder) / "songbook.lyr").string());
        dropped.dropped = true;
        return dropped;
    }
    return with_command(word, std::move(words), book);
}

}  // namespace lyro
