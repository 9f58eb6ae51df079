// Times one save of a song in the middle of a 2,000-song songbook beside a
// plain copy of the same file (read whole, write whole), and the
// transposition of a 200-line song of chord lines at every key offset.
// Prints the medians and their ratios.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/songbook_maker.h"
#include "library/data_files.h"
#include "library/editor_boxes.h"
#include "library/song_saving.h"
#include "platform/c_file.h"
#include "platform/durable_file.h"
#include "platform/save_files.h"
#include "transpose/transpose_song.h"

namespace {

using bench::body_line;
using bench::kChords;
using bench::kLinesPerSong;
using bench::kSongs;
using bench::make_songbook;
using bench::song_title;
using bench::median;
using bench::millis;

constexpr int kRuns = 31;
constexpr int kTransposeRuns = 201;

// The editor's text for the saved song: the same lines as the book's songs.
std::string editor_text() {
    std::string text;
    for (int line = 2; line < kLinesPerSong; ++line) {
        if (line > 2) text += "\r\n";
        text += body_line(line);
    }
    return text;
}

using File = lyro::CFile;

// The yardstick: read the songbook whole and write it whole elsewhere.
bool plain_copy(const std::string& from, const std::string& to, bool durable) {
    std::string bytes;
    lyro::SystemFiles files;
    if (!files.read_whole(from, bytes)) return false;
    File out(std::fopen(to.c_str(), "wb"));
    if (!out) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) return false;
    return !durable || lyro::flush_to_disk(out.get());
}



lyro::CurrentSong chord_song() {
    lyro::CurrentSong song;
    song.raw.push_back(" ");
    while (song.raw.size() < 200) {
        song.raw.push_back(kChords[song.raw.size() % 3]);
        song.raw.back() += "  d#m7  Bbsus4 e/G#<";
    }
    song.line_count = song.raw.size();
    return song;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("lyro-saving-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const lyro::DataFiles paths{dir};
    {
        const std::string book = make_songbook();
        lyro::SystemFiles files;
        if (!files.write_whole(paths.songbook(), book)) {
            std::fprintf(stderr, "cannot write the songbook in %s\n", dir.string().c_str());
            return 1;
        }
    }

    lyro::SystemFiles files;
    const lyro::EditorText boxes(song_title(kSongs / 2), editor_text());
    const std::string copy = (dir / "copy.lyr").string();
    std::vector<double> save, copied, copied_durably;
    bool ok = true;
    for (int run = 0; run < kRuns; ++run) {
        copied.push_back(millis([&] { ok = plain_copy(paths.songbook(), copy, false) && ok; }));
        copied_durably.push_back(millis([&] { ok = plain_copy(paths.songbook(), copy, true) && ok; }));
        std::string title = song_title(kSongs / 2);
        save.push_back(millis([&] {
            ok = lyro::save_song(files, paths, boxes, false, title) == lyro::SaveResult::saved && ok;
        }));
    }
    const auto size = fs::file_size(paths.songbook());
    const bool unchanged = fs::file_size(paths.oldbook()) == size;

    lyro::CurrentSong song = chord_song();
    std::vector<double> sweep;
    for (int run = 0; run < kTransposeRuns; ++run) {
        sweep.push_back(millis([&] {
            for (int offset = -12; offset <= 12; ++offset) lyro::transpose_song(song, offset);
        }));
    }
    fs::remove_all(dir);
    if (!ok || !unchanged) {
        std::fprintf(stderr, "a save or a copy failed\n");
        return 1;
    }

    std::printf("songbook: %d songs of %d lines, %ju bytes; %d runs each\n", kSongs, kLinesPerSong,
                static_cast<std::uintmax_t>(size), kRuns);
    const double s = median(save), c = median(copied), d = median(copied_durably);
    std::printf("plain copy (read whole, write whole): %8.3f ms\n", c);
    std::printf("plain copy, flushed to disk:          %8.3f ms\n", d);
    std::printf("save of the middle song:              %8.3f ms\n", s);
    std::printf("ratio save / plain copy:              %8.2f  (target: at most 3)\n", s / c);
    std::printf("ratio save / flushed copy:            %8.2f\n", s / d);
    const double t = median(sweep);
    std::printf("transposing a 200-line chord song at all 25 offsets: %.3f ms (%.1f us per song)\n",
                t, t * 1000.0 / 25.0);
    return 0;
}
