// Any file given to songtool's import: it is imported or refused, never
// more; an imported song, put into a songbook, is read back by the
// songbook's readers as exactly one song of its title with exactly its
// lines, and its ChordPro export imports again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "fuzz/fuzz_support.h"
#include "library/title_ops.h"
#include "songtool/book_import.h"
#include "songtool/book_songs.h"
#include "songtool/chordpro/chordpro_export.h"
#include "songtool/chordpro/chordpro_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lyro;
    const std::string file(reinterpret_cast<const char*>(data), size);
    const ImportOutcome outcome = import_chordpro(file, "f");
    if (std::holds_alternative<ImportRefusal>(outcome)) return 0;
    const ImportedSong& song = std::get<ImportedSong>(outcome);

    const ImportPlan plan = plan_import("::::: Old :::::\r\nx\r\n#*#*#\r\n", {"f.cho"},
                                        [&](const std::string&, std::string& bytes) {
                                            bytes = file;
                                            return true;
                                        });
    // Folding cuts a title at a blank that only bytes above 127 follow:
    // "Old" followed by such bytes is the songbook's "Old" already.
    if (folded(song.title) == "OLD") {
        fuzz::require(plan.imported == 0, "a title the songbook has is skipped");
        return 0;
    }
    fuzz::require(plan.imported == 1, "a song that converts is imported");
    const BookSongs book = find_book_songs(plan.new_book);
    fuzz::require(book.songs.size() == 2, "the new song is one song, no more");
    const BookSong& added = book.songs[1];
    fuzz::require(!added.after_end_marker, "the new song stands before the end marker");
    fuzz::require(folded(added.title) == folded(song.title), "the song is found by its title");
    const std::vector<std::string> body = whole_lines(added.body);
    fuzz::require(body.size() == song.lines.size() + 1 && body.front() == " ",
                  "every line is read back, after the writer's first line");
    for (std::size_t i = 0; i < song.lines.size(); ++i) {
        fuzz::require(body[i + 1] == song.lines[i] + " ", "each line reads back as written");
        fuzz::require(added.body.size() == body.size(), "no line is cut by the reader");
    }
    const std::string again = export_chordpro(added.title, header_key(added.header), body);
    fuzz::require(std::holds_alternative<ImportedSong>(import_chordpro(again, "again")),
                  "the export of an imported song imports again");
    return 0;
}
