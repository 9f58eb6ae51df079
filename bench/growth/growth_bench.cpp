// How the cost of each operation grows with the songbook: the catalog
// scan, the load of the last song, the save of the middle song and the
// songbook printout, at 1,000, 4,000 and 16,000 songs, each beside a plain
// scan of the same file, with the ratio of each size's time to the size
// before it. Songbooks of 4 times the songs should cost at most 5 times as
// much, and the printout of 16,000 songs at most 20 plain scans.
#include <cstdio>
#include <filesystem>
#include <functional>
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

// One size of songbook, in a folder of its own, with what its operations
// keep between runs.
struct Book {
    Book(const std::filesystem::path& dir, int songs)
        : songs(songs), paths{dir}, boxes(bench::song_title(songs / 2), editor_text()) {
        std::filesystem::create_directories(dir);
        files.write_whole(paths.songbook(), bench::make_songbook(songs));
    }
    int songs;
    lyro::DataFiles paths;
    lyro::SystemFiles files;
    lyro::Catalog catalog;
    lyro::CurrentSong song;
    const lyro::EditorText boxes;
};

// The median time of `op` on each book. The books take their turns within
// each run, so that the machine's load falls on every size alike: timed
// one size after the other, a busy moment shifts the ratios between them.
std::vector<double> medians(std::vector<Book>& books, const std::function<void(Book&)>& op) {
    std::vector<std::vector<double>> times(books.size());
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t i = 0; i < books.size(); ++i)
            times[i].push_back(bench::millis([&] { op(books[i]); }));
    }
    std::vector<double> result;
    for (const auto& t : times) result.push_back(bench::median(t));
    return result;
}

std::vector<Figures> measure(std::vector<Book>& books) {
    bench::NullBox box;
    bench::NullLabel label;
    lyro::SilentBeeper beeper;
    // The count is kept: unused, the compiler drops it and the scan is a
    // read alone.
    std::size_t line_ends = 0;
    const auto scan = medians(books, [&](Book& b) { line_ends += bench::plain_scan(b.paths.songbook()); });
    if (line_ends == 0) std::fprintf(stderr, "the plain scan read nothing\n");
    const auto catalog = medians(books, [&](Book& b) {
        lyro::ListPageWriter page(b.paths.page());
        lyro::build_catalog(b.paths.songbook(), true, b.catalog, {box, label, beeper, page});
    });
    const auto load = medians(books, [&](Book& b) {
        b.song.title = bench::song_title(b.songs - 1);
        lyro::load_current_song(b.paths.songbook(), b.song, label, beeper);
    });
    const auto save = medians(books, [&](Book& b) {
        std::string title = bench::song_title(b.songs / 2);
        lyro::save_song(b.files, b.paths, b.boxes, false, title);
    });
    for (Book& b : books) lyro::sort_catalog(b.catalog);
    bench::CountingSurface surface;
    lyro::ViewPosition position;
    const auto printout = medians(books, [&](Book& b) {
        lyro::print_songbook(surface, lyro::OwnerWindow{},
                             {b.catalog, b.paths.songbook(), b.song, position, label, beeper});
    });
    std::vector<Figures> all;
    for (std::size_t i = 0; i < books.size(); ++i)
        all.push_back({scan[i], catalog[i], load[i], save[i], printout[i]});
    return all;
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
    std::vector<Book> books;
    for (int songs : kSizes) books.emplace_back(dir / std::to_string(songs), songs);
    const std::vector<Figures> all = measure(books);
    books.clear();
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
