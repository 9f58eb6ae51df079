// songtool's commands; see songtool_commands.h.
#include "songtool/songtool_commands.h"

#include <filesystem>
#include <optional>
#include <string>

#include "library/file_rotation.h"
#include "library/title_ops.h"
#include "songtool/book_check.h"
#include "songtool/book_import.h"
#include "songtool/book_songs.h"
#include "songtool/chordpro/chordpro_export.h"
#include "songtool/chordpro/text_decoding.h"
#include "songtool/export_names.h"

namespace lyro {

namespace {

// The key a song's header names, "" for the "xx" that songdesk writes when
// it knows none.
std::string_view named_key(std::string_view header) {
    const std::string_view key = header_key(header);
    return key == "xx" ? std::string_view{} : key;
}

namespace fs = std::filesystem;

// The files of a rewrite, beside the songbook.
RotationNames rotation_names(const std::string& book) {
    const fs::path dir = fs::path(book).parent_path();
    return {book, (dir / "oldbook.lyr").string(), (dir / "temp.lyr").string()};
}

std::string book_name(const std::string& book) { return fs::path(book).filename().string(); }

// Titles are Windows-1252, as the songbook holds them. The Windows console
// and file system take them so; elsewhere names and terminals are UTF-8.
std::string local_text(std::string_view cp1252) {
#if defined(_WIN32)
    return std::string(cp1252);
#else
    return cp1252_to_utf8(cp1252);
#endif
}

// Reads the songbook; nothing (with the reason told) when it exists but
// cannot be read. A songbook that does not exist reads as empty.
std::optional<Songbook> read_book(SaveFiles& files, const std::string& book, bool must_exist,
                                  std::ostream& err) {
    if (!files.exists(book)) {
        if (!must_exist) return Songbook(std::string());
        err << "songtool: there is no songbook " << book << "\n";
        return std::nullopt;
    }
    auto songbook = read_songbook(files, book);
    if (!songbook) err << "songtool: the songbook " << book << " could not be read\n";
    return songbook;
}

// Writes the new songbook through temp.lyr, keeping the old one as
// oldbook.lyr; tells what happened. False when the songbook is unchanged.
bool save_book(SaveFiles& files, const std::string& book, bool existed, std::string_view old_book,
               const std::string& new_book, std::ostream& out, std::ostream& err) {
    const RotationNames names = rotation_names(book);
    if (!existed) {
        if (create_whole(files, names.temp, book, new_book)) {
            out << book_name(book) << " created.\n";
            return true;
        }
        err << "songtool: " << book << " could not be created; nothing was imported\n";
        return false;
    }
    const std::string_view parts[] = {new_book};
    switch (rotate_songbook(files, names, old_book, parts)) {
        case Rotation::done:
            out << book_name(book) << " saved; the songbook as it was is oldbook.lyr.\n";
            return true;
        case Rotation::temp_not_written:
            err << "songtool: temp.lyr could not be written (the disk may be full)";
            break;
        case Rotation::backup_not_made:
            err << "songtool: oldbook.lyr could not be made";
            break;
        case Rotation::not_replaced:
            err << "songtool: temp.lyr could not take the songbook's place";
            break;
    }
    err << "; " << book << " is unchanged and nothing was imported\n";
    return false;
}

}  // namespace

int run_import(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err) {
    const auto old_book = read_book(files, args.book, false, err);
    if (!old_book) return 1;
    const bool existed = files.exists(args.book);
    const auto read = [&](const std::string& name, std::string& bytes) {
        return files.read_whole(name, bytes);
    };
    const ImportPlan plan = plan_import(*old_book, args.files, read, local_text);
    for (const std::string& line : plan.report) out << line << "\n";
    out << plan.imported << " imported, " << plan.skipped << " skipped.\n";
    if (plan.imported == 0) {
        out << book_name(args.book) << " is unchanged.\n";
        return 1;
    }
    if (!save_book(files, args.book, existed, old_book->bytes(), plan.new_book, out, err)) return 1;
    return plan.skipped == 0 ? 0 : 1;
}

int run_export(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err) {
    const auto book = read_book(files, args.book, true, err);
    if (!book) return 1;
    std::error_code failed;
    fs::create_directories(args.dir, failed);
    ExportNames names;
    int status = 0;
    std::size_t written = 0;
    for (const BookSong& song : find_book_songs(*book).songs) {
        const std::string name = names.name_for(song.title);
        const std::string path = args.dir + "/" + local_text(name);
        const std::string text =
            export_chordpro(song.title, named_key(song.header), whole_lines(song.body));
        if (!files.write_whole(path, text)) {
            err << "songtool: " << path << " could not be written\n";
            status = 1;
            continue;
        }
        ++written;
        out << "wrote " << path << " (\"" << local_text(song.title) << "\""
            << (song.after_end_marker ? ", after the end marker: songdesk never lists it" : "")
            << ")\n";
    }
    out << written << (written == 1 ? " song" : " songs") << " written to " << args.dir << ".\n";
    return status;
}

int run_check(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err) {
    const auto book = read_book(files, args.book, true, err);
    if (!book) return 1;
    const std::vector<std::string> traps = check_book(*book);
    for (const std::string& trap : traps) {
        out << book_name(args.book) << ", " << local_text(trap) << "\n";
    }
    if (traps.empty()) {
        out << "No traps found in " << book_name(args.book) << ".\n";
        return 0;
    }
    out << traps.size() << (traps.size() == 1 ? " trap" : " traps") << " found.\n";
    return 1;
}

int run_songtool(SaveFiles& files, const ToolArgs& args, std::ostream& out, std::ostream& err) {
    switch (args.command) {
        case ToolCommand::import: return run_import(files, args, out, err);
        case ToolCommand::export_songs: return run_export(files, args, out, err);
        case ToolCommand::check: return run_check(files, args, out, err);
        case ToolCommand::help: out << kToolUsage; return 0;
        case ToolCommand::usage_error: break;
    }
    err << "songtool: " << args.problem << "\n" << kToolUsage;
    return 2;
}

}  // namespace lyro
