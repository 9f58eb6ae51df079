// The lossless promise on arbitrary songbook bytes: a song loaded into the
// editor and saved unchanged gives back the songbook byte for byte. The
// first save may tidy what the writer never writes (CR bytes, lone LFs,
// rich-text words in the song's own lines); from then on nothing moves.
// A save that fails changes nothing, and no save loses or adds a song.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/catalog_scan.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/memory_files.h"
#include "library/data_files.h"
#include "library/editor_boxes.h"
#include "library/song_body.h"
#include "library/song_saving.h"
#include "library/title_ops.h"
#include "library/editor_title.h"

namespace {

using namespace lyro;

// Every song title and label that the catalog finds, in file order.
std::vector<std::string> catalog_of(const std::string& bytes) {
    fuzz::CatalogScan scan;
    fuzz::scan_catalog(fuzz::write_input("catalog.lyr", bytes), scan);
    return std::move(scan.catalog.entries);
}

// A line that is a song's header and a label at once loses its label when
// that song is saved, as the header is written anew from the title box.
// The lines are looked at as the reader delivers them: without their CRs,
// which can join two halves of a mark.
bool has_header_label(std::string bytes) {
    std::erase(bytes, '\r');
    for (std::size_t from = 0; from < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
        const std::string_view line = std::string_view(bytes).substr(from, end - from);
        if (holds(line, kHeaderMark) && holds(line, kLabelMark)) return true;
        from = end + 1;
    }
    return false;
}

// Loading cleans each line of the first rich-text word of each kind; a
// line that holds one more loses that one at the next load, by design.
bool has_rich_text_word(std::string_view bytes) {
    for (std::string_view word : {"\\par", "\\f0", "\\now", "\\tab", "\\page"})
        if (holds(bytes, word)) return true;
    return false;
}

// Loads `title` as the editor does and saves it unchanged. False when the
// editor would not find the song.
bool save_unchanged(fuzz::MemoryFiles& files, const DataFiles& paths, const std::string& title) {
    const std::string before = files.files[paths.songbook()];
    const auto stored_title = stored_song_title(Songbook(before), title);
    const auto text = load_editor_text(files, paths.songbook(), title);
    if (!stored_title || !text) return false;
    const EditorText boxes(*stored_title, *text);
    std::string current = title;
    const SaveResult result = save_song(files, paths, boxes, false, current);
    fuzz::require(!files.exists(paths.temp()), "no temp.lyr is left behind");
    if (result != SaveResult::saved) {
        fuzz::require(files.files[paths.songbook()] == before, "a failed save changes nothing");
        return false;
    }
    fuzz::require(files.files[paths.oldbook()] == before, "oldbook.lyr keeps the songbook as it was");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the song; the rest is the songbook.
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (has_header_label(bytes)) return 0;
    const std::vector<std::string> catalog = catalog_of(bytes);
    if (catalog.empty()) return 0;
    const std::string title = folded(catalog[data[0] % catalog.size()]);
    // A song without a title is saved as NONAME: it cannot come back as it was.
    if (title.find_first_not_of(' ') == std::string::npos) return 0;

    DataFiles paths;
    paths.dir = fuzz::scratch().path();
    fuzz::MemoryFiles files;
    files.files[paths.songbook()] = bytes;
    if (!save_unchanged(files, paths, title)) return 0;
    const std::string tidied = files.files[paths.songbook()];
    // Cleaning may change a label's text in the song's own lines, but no
    // song, label or end marker appears or goes.
    fuzz::require(catalog_of(tidied).size() == catalog.size(), "a save neither loses nor adds a song");

    // Saved unchanged again: the same bytes.
    if (has_rich_text_word(tidied)) return 0;
    fuzz::require(save_unchanged(files, paths, title), "the saved song is found again");
    fuzz::require(files.files[paths.songbook()] == tidied, "a song saved unchanged changes no byte");
    return 0;
}
