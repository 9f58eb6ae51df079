// Any file given to songtool's import, as ChordPro (by its name) or as
// whatever it holds (a chord sheet, unless it reads as ChordPro): each of
// its songs is imported or refused, never more; the imported songs, put
// into a songbook, are read back by the songbook's readers as exactly one
// song each, of its title, with exactly its lines, and their ChordPro
// export imports again. The first byte picks the file's name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "library/title_ops.h"
#include "songtool/book_import.h"
#include "songtool/book_songs.h"
#include "songtool/chordpro/chordpro_export.h"
#include "songtool/chordpro/chordpro_import.h"
#include "songtool/chordpro/song_file.h"

namespace {

using namespace lyro;

// The songs the import takes: refused ones and repeated titles are not.
// Folding cuts a title at a blank that only bytes above 127 follow: "Old"
// followed by such bytes is the songbook's "Old" already.
std::vector<ImportedSong> songs_taken(const std::vector<ImportOutcome>& outcomes) {
    std::unordered_set<std::string> seen{"OLD"};
    std::vector<ImportedSong> taken;
    for (const ImportOutcome& outcome : outcomes) {
        const auto* song = std::get_if<ImportedSong>(&outcome);
        if (song && seen.insert(folded(song->title)).second) taken.push_back(*song);
    }
    return taken;
}

void require_read_back(const ImportedSong& song, const BookSong& added) {
    fuzz::require(!added.after_end_marker, "a new song stands before the end marker");
    fuzz::require(folded(added.title) == folded(song.title), "a song is found by its title");
    const std::vector<std::string> body = whole_lines(added.body);
    fuzz::require(added.body.size() == body.size(), "no line is cut by the reader");
    fuzz::require(body.size() == song.lines.size() + 1 && body.front() == " ",
                  "every line is read back, after the writer's first line");
    for (std::size_t i = 0; i < song.lines.size(); ++i) {
        fuzz::require(body[i + 1] == song.lines[i] + " ", "each line reads back as written");
    }
    const std::string again = export_chordpro(added.title, header_key(added.header), body);
    fuzz::require(std::holds_alternative<ImportedSong>(import_chordpro(again, "again")),
                  "the export of an imported song imports again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string name = data[0] % 2 == 0 ? "f.cho" : "f.txt";
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<ImportedSong> taken = songs_taken(import_song_file(file, name));

    const ImportPlan plan = plan_import("::::: Old :::::\r\nx\r\n#*#*#\r\n", {name},
                                        [&](const std::string&, std::string& bytes) {
                                            bytes = file;
                                            return true;
                                        });
    fuzz::require(plan.imported == taken.size(), "every song that converts is imported");
    if (taken.empty()) return 0;
    const BookSongs book = find_book_songs(plan.new_book);
    fuzz::require(book.songs.size() == taken.size() + 1, "each new song is one song, no more");
    for (std::size_t i = 0; i < taken.size(); ++i) require_read_back(taken[i], book.songs[i + 1]);
    return 0;
}
