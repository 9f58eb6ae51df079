// How the cost of each operation grows with the songbook: the catalog
// scan, the load of the last song, the save of the middle song and the
// songbook printout, at 1,000, 4,000 and 16,000 songs, each beside a plain
// scan of the same file, with the ratio of each size's time to the size
// before it. Songbooks of 4 times the songs should cost at most 5 times as
// much, and the printout of 16,000 songs at most 20 plain scans.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/songbook_maker.h"
#include "library/catalog.h"
#include "library/data_files.h"
#include "library/editor_boxes.h"
#include "library/song_loading.h"
#include "library/song_saving.h"
#include "platform/save_files.h"
#include "print/catalog_sort.h"
#include "print/songbook_printout.h"
#include "remote/remote_page.h"

namespace {

constexpr int kSizes[] = {1000, 4000, 16000};
constexpr int kRuns = 9;

struct Figures {
    double scan, catalog, load, save, printout;
};

std::string editor_text() {
    std::string text;
    for (int line = 2; line < bench::kLinesPerSong; ++line) {
        if (line > 2) text += "\r\n";
        text += bench::body_line(line);
    }
    return text;
}

Figures measure(const lyro::DataFiles& paths, int songs) {
    lyro::SystemFiles files;
    files.write_whole(paths.songbook(), bench::make_songbook(songs));
    Figures f{};
    // The count is kept: unused, the compiler drops it and the scan is a
    // read alone.
    std::size_t line_ends = 0;
    f.scan = bench::median_ms(kRuns, [&] { line_ends += bench::plain_scan(paths.songbook()); });
    if (line_ends == 0) std::fprintf(stderr, "the plain scan read nothing\n");
    lyro::Catalog catalog;
    bench::NullBox box;
    bench::NullLabel label;
    lyro::SilentBeeper beeper;
    f.catalog = bench::median_ms(kRuns, [&] {
        lyro::ListPageWriter page(paths.page());
        lyro::build_catalog(paths.songbook(), true, catalog, {box, label, beeper, page});
    });
    lyro::CurrentSong song;
    f.load = bench::median_ms(kRuns, [&] {
        song.title = bench::song_title(songs - 1);
        lyro::load_current_song(paths.songbook(), song, label, beeper);
    });
    const lyro::EditorText boxes(bench::song_title(songs / 2), editor_text());
    f.save = bench::median_ms(kRuns, [&] {
        std::string title = bench::song_title(songs / 2);
        lyro::save_song(files, paths, boxes, false, title);
    });
    lyro::sort_catalog(catalog);
    bench::CountingSurface surface;
    lyro::ViewPosition position;
    f.printout = bench::median_ms(kRuns, [&] {
        lyro::print_songbook(surface, lyro::OwnerWindow{},
                             {catalog, paths.songbook(), song, position, label, beeper});
    });
    return f;
}

void print_row(const char* name, const std::vector<Figures>& all, double Figures::*field) {
    std::printf("%-22s", name);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const double v = all[i].*field;
        std::printf(" %10.2f ms (%6.1f scans)", v, v / all[i].scan);
        if (i > 0) std::printf(" x%-5.2f", v / (all[i - 1].*field));
        else std::printf("       ");
    }
    std::printf("\n");
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("lyro-growth-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const lyro::DataFiles paths{dir};
    std::vector<Figures> all;
    for (int songs : kSizes) all.push_back(measure(paths, songs));
    fs::remove_all(dir);

    std::printf("songs of %d lines; medians; each time also in plain scans of its file, and\n"
                "x: its growth from the size before (4 times the songs)\n",
                bench::kLinesPerSong);
    std::printf("%-22s", "");
    for (int songs : kSizes) std::printf(" %25d songs       ", songs);
    std::printf("\n");
    print_row("plain scan", all, &Figures::scan);
    print_row("build_catalog", all, &Figures::catalog);
    print_row("load last song", all, &Figures::load);
    print_row("save middle song", all, &Figures::save);
    print_row("songbook printout", all, &Figures::printout);
    std::printf("targets: every x at most 5; printout of 16,000 songs at most 20 scans\n");
    return 0;
}
