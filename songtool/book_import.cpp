// Planning an import; see book_import.h.
#include "songtool/book_import.h"

#include <unordered_set>
#include <variant>

#include "library/title_ops.h"
#include "platform/whole_file.h"
#include "songtool/book_songs.h"
#include "songtool/chordpro/song_file.h"

namespace lyro {

namespace {

std::string plural(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// What the report adds about an imported song: what was left out or changed.
std::string notes(const ImportedSong& song) {
    std::string out;
    if (song.chord_sheet) out += " (a chord sheet)";
    if (song.no_chord_lines) out += "; no chord lines found";
    if (song.dropped > 0) {
        out += "; " + plural(song.dropped, "line", "lines") +
               " left out (comments, and directives the songbook has no place for)";
    }
    if (song.blocks > 0) {
        out += "; " + plural(song.blocks, "block", "blocks") + " of music notation or pictures left out";
    }
    if (song.changed > 0) {
        out += "; " + plural(song.changed, "letter", "letters") + " written as their plain letter";
    }
    if (song.replaced > 0) {
        out += "; " + plural(song.replaced, "character", "characters") + " written as \"?\"";
    }
    return out;
}

class Planner {
public:
    Planner(const Songbook& songbook, const ShowTitle& show) : show_(show) {
        const std::string_view book_bytes = songbook.bytes();
        const BookSongs book = find_book_songs(songbook);
        for (const BookSong& song : book.songs) {
            if (!song.after_end_marker) in_book_.insert(folded(song.title));
        }
        before_ = book_bytes.substr(0, book.insert_at);
        after_ = book_bytes.substr(book.insert_at);
        // A last line without its line end gets one before the new songs.
        if (!before_.empty() && before_.back() != '\n') added_ += kLineEnd;
    }

    // Every song of the file, each imported or skipped on its own.
    void take(const std::string& name, const std::string& bytes, ImportPlan& plan) {
        const std::vector<ImportOutcome> songs = import_song_file(bytes, name);
        for (std::size_t i = 0; i < songs.size(); ++i) {
            const std::string where =
                songs.size() == 1 ? name
                                  : name + ", song " + std::to_string(i + 1) + " of " +
                                        std::to_string(songs.size());
            take_song(where, songs[i], plan);
        }
    }

    void take_song(const std::string& where, const ImportOutcome& outcome, ImportPlan& plan) {
        if (const auto* refusal = std::get_if<ImportRefusal>(&outcome)) {
            const std::string named =
                refusal->title.empty() ? where : where + " (\"" + show_(refusal->title) + "\")";
            const std::string at =
                refusal->line == 0 ? "" : "line " + std::to_string(refusal->line) + ": ";
            return skip(named, at + refusal->reason, plan);
        }
        const ImportedSong& song = std::get<ImportedSong>(outcome);
        const std::string key = folded(song.title);
        const std::string title = "\"" + show_(song.title) + "\"";
        if (in_book_.count(key)) {
            return skip(where, "a song titled " + title + " is already in the songbook", plan);
        }
        if (!in_import_.insert(key).second) {
            return skip(where, "a song titled " + title + " comes earlier in this import", plan);
        }
        added_ += song_in_book_form(song);
        ++plan.imported;
        plan.report.push_back("imported " + title + " from " + where + notes(song));
    }

    static void skip(const std::string& name, const std::string& why, ImportPlan& plan) {
        ++plan.skipped;
        plan.report.push_back("skipped " + name + ": " + why);
    }

    std::string book() const { return std::string(before_) + added_ + std::string(after_); }

private:
    const ShowTitle& show_;
    std::unordered_set<std::string> in_book_;
    std::unordered_set<std::string> in_import_;
    std::string_view before_;
    std::string_view after_;
    std::string added_;
};

}  // namespace

ImportPlan plan_import(std::string_view book_bytes, const std::vector<std::string>& files,
                       const ReadFile& read, const ShowTitle& show) {
    return plan_import(Songbook(std::string(book_bytes)), files, read, show);
}

ImportPlan plan_import(const Songbook& book, const std::vector<std::string>& files,
                       const ReadFile& read, const ShowTitle& show) {
    ImportPlan plan;
    Planner planner(book, show);
    std::string bytes;
    for (const std::string& name : files) {
        if (!read(name, bytes)) {
            Planner::skip(name, "it cannot be read", plan);
            continue;
        }
        planner.take(name, bytes, plan);
    }
    if (plan.imported > 0) plan.new_book = planner.book();
    return plan;
}

}  // namespace lyro
