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

#include "print/catalog_sort.h"
#include "print/songbook_printout.h"

namespace {

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

// Counts pages and draws; prints nothing.
class CountingSurface final : public lyro::PrintSurface {
public:
    long pages = 0;
    long texts = 0;

    std::unique_ptr<lyro::PrintJob> start_job(std::string_view, lyro::OwnerWindow) override {
        return std::make_unique<Job>(*this);
    }

private:
    class Job final : public lyro::PrintJob {
    public:
        explicit Job(CountingSurface& s) : s_(s) {}
        const lyro::PrintMeasures& measures() const override { return m_; }
        void create_font() override {}
        void select_font() override {}
        void restore_font() override {}
        void delete_font() override {}
        void start_page() override { ++s_.pages; }
        void end_page() override {}
        void text(int, int, std::string_view) override { ++s_.texts; }
        void end() override {}

    private:
        CountingSurface& s_;
        lyro::PrintMeasures m_{100, 112, 4800, 6600, 600, 600};
    };
};

class NullLabel final : public lyro::TextLabel {
public:
    void set_text(std::string_view) override {}
};

std::size_t plain_scan(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buf(64 * 1024);
    std::size_t lines = 0;
    while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0) {
        lines += static_cast<std::size_t>(std::count(buf.data(), buf.data() + in.gcount(), '\n'));
    }
    return lines;
}

template <typename F>
double median_ms(F&& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    const double printout = median_ms([&] {
        surface.pages = surface.texts = 0;
        lyro::print_songbook(surface, lyro::OwnerWindow{}, {catalog, path, song, position, status, beeper});
    });
    std::size_t lines = 0;
    const double scan = median_ms([&] { lines = plain_scan(path); });

    std::printf("songbook: %d songs, %zu lines, %ju bytes\n", kSongs, lines,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    std::printf("songbook printout: %.1f ms (median of %d), %ld pages, %ld texts\n", printout, kRuns,
                surface.pages, surface.texts);
    std::printf("plain scan:        %.3f ms; printout / scan = %.0f\n", scan, printout / scan);
    std::filesystem::remove_all(dir);
    return 0;
}
