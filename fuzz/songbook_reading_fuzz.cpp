// The songbook's readers on arbitrary bytes: the model's lines beside a
// byte-by-byte reader, the catalog scan and the load of a song, each with
// the limits it promises.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/catalog_scan.h"
#include "fuzz/fuzz_support.h"
#include "library/songbook.h"
#include "library/current_song.h"
#include "library/song_loading.h"
#include "tests/library/reference_reader.h"

namespace {

using namespace lyro;

// The model's quick paths deliver what a reader going byte by byte does.
void read_as_the_reference_does(const std::string& bytes) {
    const test::ReferenceRead expected = test::reference_read(bytes);
    const test::ReferenceRead got = test::model_read(bytes);
    fuzz::require(got.lines == expected.lines, "the model delivers the reader's lines");
    fuzz::require(got.beeps_through == expected.beeps_through, "the model counts the reader's cuts");
    fuzz::require(got.beeps == expected.beeps, "the model counts every cut");
}

void read_every_line(const std::string& path) {
    const auto book = read_songbook(path);
    fuzz::require(book.has_value(), "the songbook opens");
    for (const BookLine& line : book->lines()) {
        fuzz::require(line.text.size() <= kBookLineMax, "a delivered line holds at most 991 characters");
        fuzz::require(line.text.find('\r') == std::string_view::npos, "no line keeps a CR");
        fuzz::require(line.cut || line.text.find('\n') == std::string_view::npos,
                      "only a cut keeps an LF");
    }
}

Catalog checked_catalog(const std::string& path) {
    fuzz::CatalogScan scan;
    fuzz::scan_catalog(path, scan);
    for (const auto& entry : scan.catalog.entries)
        fuzz::require(entry.size() <= kCatalogTitleMax, "a catalog entry holds at most 49 characters");
    fuzz::require(scan.box.items.size() <= scan.catalog.entries.size(),
                  "the box shows no more than the catalog");
    return scan.catalog;
}

void load_song(const std::string& path, const std::string& title) {
    CurrentSong song;
    song.title = title;
    test::RecordingLabel status;
    test::CountingBeeper beeper;
    load_current_song(path, song, status, beeper);
    fuzz::require(song.line_count <= song.raw.size(), "the line count is within the raw lines");
    fuzz::require(song.display.size() >= kDisplaySlots, "the display keeps its slots");
    for (std::size_t i = 0; i < song.line_count; ++i)
        fuzz::require(song.raw[i].size() <= kSongLineMax, "a loaded line holds at most 100 characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::write_input("songbook.lyr", bytes);
    read_as_the_reference_does(bytes);
    read_every_line(path);
    const Catalog catalog = checked_catalog(path);
    // The first title the catalog found, and the last, as a user picks them.
    if (!catalog.entries.empty()) {
        load_song(path, catalog.entries.front());
        load_song(path, catalog.entries.back());
    }
    load_song(path, bytes.substr(0, 120));
    return 0;
}
