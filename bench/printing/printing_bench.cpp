// Times the songbook printout of a full catalog (1,000 entries) over a
// songbook of 1,000 songs of 40 lines. Every song page looks its song up
// from the top of the file, so the printout reads the songbook about 500
// times over; the figures show what that costs beside one plain scan.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "print/catalog_sort.h"
#include "print/songbook_printout.h"

namespace {

using bench::CountingSurface;
using bench::NullLabel;
using bench::plain_scan;

constexpr int kSongs = 1000;
constexpr int kLinesPerSong = 40;  // the header included
constexpr int kRuns = 7;

std::string make_songbook() {
    std::string book;
    for (int i = 0; i < kSongs; ++i) {
        book += "::::: Song number " + std::to_string(i) + " of the book ::::: KEY=xx\r\n \r\n";
        for (int line = 2; line < kLinesPerSong; ++line) {
            book += (line % 2 == 0) ? "G       D/F#     Em      C       < "
                                    : "Amazing grace how sweet the sound ";
            book += "\r\n";
        }
    }
    return book;
}




}  // namespace

int main() {
    const auto dir = std::filesystem::temp_directory_path() / "lyro-printing-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "songbook.lyr").string();
    {
        const std::string book = make_songbook();
        std::ofstream(path, std::ios::binary).write(book.data(), static_cast<std::streamsize>(book.size()));
    }

    lyro::Catalog catalog;
    for (int i = 0; i < kSongs; ++i) catalog.entries.push_back("Song number " + std::to_string(i) + " of the book");
    lyro::sort_catalog(catalog);

    CountingSurface surface;
    lyro::CurrentSong song;
    lyro::ViewPosition position;
    NullLabel status;
    lyro::SilentBeeper beeper;
    const double printout = bench::median_ms(kRuns, [&] {
        surface.pages = surface.texts = 0;
        lyro::print_songbook(surface, lyro::OwnerWindow{}, {catalog, path, song, position, status, beeper});
    });
    std::size_t lines = 0;
    const double scan = bench::median_ms(kRuns, [&] { lines = plain_scan(path); });

    std::printf("songbook: %d songs, %zu lines, %ju bytes\n", kSongs, lines,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    std::printf("songbook printout: %.1f ms (median of %d), %ld pages, %ld texts\n", printout, kRuns,
                surface.pages, surface.texts);
    std::printf("plain scan:        %.3f ms; printout / scan = %.0f\n", scan, printout / scan);
    std::filesystem::remove_all(dir);
    return 0;
}
