// Times the catalog scan (list page included) and the loading of the last
// song of a 2,000-song songbook, each beside a plain scan that only reads
// the file and counts its line ends, and prints the medians and ratios.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/songbook_maker.h"
#include "library/catalog.h"
#include "library/song_loading.h"
#include "remote/remote_page.h"

namespace {

using bench::kLinesPerSong;
using bench::kSongs;
using bench::make_songbook;
using bench::song_title;
using bench::median;
using bench::millis;
using bench::NullBox;
using bench::NullLabel;
using bench::plain_scan;

constexpr int kRuns = 41;

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("lyro-reading-bench-" +
                                                      std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::string songbook = (dir / "songbook.lyr").string();
    const std::string page = (dir / "index.html").string();
    {
        const std::string book = make_songbook();
        std::ofstream(songbook, std::ios::binary).write(book.data(),
                                                        static_cast<std::streamsize>(book.size()));
    }

    lyro::Catalog catalog;
    NullBox box;
    NullLabel label;
    lyro::SilentBeeper beeper;
    lyro::CurrentSong song;
    std::size_t lines = 0;

    // The three run in turn, so that the machine's load falls on all alike.
    std::vector<double> scan, build, load;
    for (int run = 0; run < kRuns; ++run) {
        scan.push_back(millis([&] { lines = plain_scan(songbook); }));
        build.push_back(millis([&] {
            lyro::ListPageWriter list_page(page);
            lyro::build_catalog(songbook, false, catalog, {box, label, beeper, list_page});
        }));
        load.push_back(millis([&] {
            song.title = song_title(kSongs - 1);
            lyro::load_current_song(songbook, song, label, beeper);
        }));
    }
    const bool sane = catalog.entries.size() == kSongs + kSongs / 100 &&
                      song.line_count == kLinesPerSong && label.last == " ";

    const double base = median(scan);
    std::printf("songbook: %d songs of %d lines, %ju bytes, %zu line ends\n", kSongs,
                kLinesPerSong, static_cast<std::uintmax_t>(fs::file_size(songbook)), lines);
    std::printf("medians of %d runs:\n", kRuns);
    std::printf("  plain scan          %8.3f ms\n", base);
    std::printf("  build_catalog       %8.3f ms   ratio %.2f\n", median(build), median(build) / base);
    std::printf("  load_current_song   %8.3f ms   ratio %.2f\n", median(load), median(load) / base);
    std::printf("target: each ratio at most 2\n");
    fs::remove_all(dir);
    if (!sane) {
        std::fprintf(stderr, "the readers did not deliver what the songbook holds\n");
        return 1;
    }
    return 0;
}
