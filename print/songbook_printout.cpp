// The songbook printout.
//
// Page layout, in line steps from the top of the printable area:
//   index page: "Songbook Print" at 1, around the middle; its first line at
//     3.5; a page that is full ends at once, so 61 titles leave a second
//     index page with the heading alone;
//   a song's first page: "<TITLE> -- <number>" at half an inch; its first
//     line at 4.5;
//   a song's continuation page: "Continued....." at half an inch, where the
//     title line stood; its first line at 5.
// A page that has taken 61 lines ends, and one ends earlier when its next
// line would reach below the printable area, so that nothing is lost on a
// printer with tall lines. A song may have any number of lines: it runs on
// over as many pages as it needs.
#include "print/songbook_printout.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "library/song_loading.h"
#include "library/songbook.h"
#include "library/title_ops.h"
#include "print/page_layout.h"

namespace lyro {

namespace {

constexpr std::string_view kHeading = "Songbook Print";
constexpr std::string_view kAddedLine = "    ";

void draw_index_heading(PrintJob& job, int& y) {
    const PrintMeasures& m = job.measures();
    y = m.line_step;
    job.text(centred_x(m.page_width, kHeading.size()), y, kHeading);
    y = 3 * m.line_step + m.line_step / 2;
}

// The index: one page (at least) of numbered titles in catalog order.
void print_index(PrintJob& job, const Catalog& catalog) {
    const PrintMeasures& m = job.measures();
    int y = 0;
    draw_index_heading(job, y);
    int on_page = 0;
    for (std::size_t k = 1; k <= catalog.entries.size(); ++k) {
        job.text(m.left_margin, y, index_line(k, catalog.entries[k - 1]));
        y += m.line_step;
        if (page_full(m, ++on_page, y)) {
            job.end_page();
            job.start_page();
            draw_index_heading(job, y);
            on_page = 0;
        }
    }
    job.end_page();
}

// The songbook read once for every entry, and each song's lines as the
// printout shows them (cleaned, cut to 100 characters, not transposed),
// kept while it prints.
class PrintedSongs {
public:
    explicit PrintedSongs(const std::string& path) : book_(read_songbook(path)) {}

    const Songbook* book() const { return book_ ? &*book_ : nullptr; }

    // Hands `take` the lines of `song`; each view lasts as long as this.
    template <typename Take>
    void lines(SongSpan song, Take&& take) {
        std::string scratch;
        for (std::size_t i = song.header + 1; i < song.end; ++i) {
            const BookLine& line = book_->lines()[i];
            if (!line.visible()) continue;
            const std::string_view shown = song_line(line.text, scratch);
            // A cleaned line is scratch text: it is kept here.
            take(shown.data() == scratch.data() ? std::string_view(cleaned_.emplace_back(shown)) : shown);
        }
    }

private:
    std::optional<Songbook> book_;
    std::deque<std::string> cleaned_;
};

// What one entry printed: its song (none when not found) and its line
// count, the added line included.
struct PrintedEntry {
    std::optional<SongSpan> song;
    std::size_t line_count = 0;
};

// Entry k's song as the printout shows it: its body lines, then the added
// blank line. The status label and the beeper hear what a lookup of the
// title from the top of the file tells them; the title and the view
// position are set as loading the song sets them. A songbook that cannot
// be read counts as a song not found.
PrintedEntry look_up_entry(const SongbookSources& in, PrintedSongs& songs, std::size_t k,
                           std::vector<std::string_view>& lines) {
    in.position.single_song_mode = 1;
    in.position.start_position = in.position.list_position = static_cast<int>(k - 1);
    in.position.key_offset = 0;
    in.song.title = in.catalog.entries[k - 1];
    fold_title(in.song.title);

    const Songbook* book = songs.book();
    const auto found = book ? book->find(in.song.title) : std::nullopt;
    if (book) {
        for (std::size_t i = book->lookup_cuts(found); i > 0; --i) in.beeper.beep();
    }
    in.status.set_text(found ? kSongFound : kSongNotFound);
    lines.clear();
    if (found) songs.lines(*found, [&lines](std::string_view line) { lines.push_back(line); });
    lines.push_back(kAddedLine);
    return {found, lines.size()};
}

void print_song_pages(PrintJob& job, const SongbookSources& in, std::size_t k,
                      std::span<const std::string_view> lines) {
    const PrintMeasures& m = job.measures();
    job.start_page();
    const std::string title_line = in.song.title + " -- " + std::to_string(k);
    const int title_x = centred_x(m.page_width, title_line.size());
    job.text(title_x, m.inch_height / 2, title_line);
    draw_running_lines(job, lines, 3 * m.line_step + m.line_step / 2, title_x,
                       PageBreak::after_full_page);
    job.end_page();
}

// Leaves the current song as loading every entry into it in turn would
// have: the last entry's lines, and past them, in each display line, the
// text of the last entry that reached it. Each display line is written
// once, walking the entries from the last, instead of once per entry.
void leave_last_song(CurrentSong& song, PrintedSongs& songs,
                     const std::vector<PrintedEntry>& printed) {
    if (printed.empty()) return;
    std::size_t most = 0;
    for (const PrintedEntry& entry : printed) most = std::max(most, entry.line_count);
    // Room past the usual 200 lines when a song is longer; the raw lines
    // grow along, so that the line count never names a line either lacks.
    if (song.display.size() < most) song.display.resize(most);
    if (song.raw.size() < most) song.raw.resize(most);
    std::size_t filled = 0;
    for (auto entry = printed.rbegin(); entry != printed.rend() && filled < most; ++entry) {
        if (entry->line_count <= filled) continue;
        std::size_t at = 0;
        const auto put = [&](std::string_view line) {
            if (at++ >= filled) song.display[at - 1] = line;
        };
        if (entry->song) songs.lines(*entry->song, put);
        put(kAddedLine);
        filled = entry->line_count;
    }
    song.line_count = printed.back().line_count;
}

}  // namespace

std::string index_line(std::size_t number, const std::string& title) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits + ' ' + title;
}

void print_songbook(PrintSurface& surface, OwnerWindow owner, const SongbookSources& in) {
    const auto job = surface.start_job(kPrintDocumentName, owner);
    if (!job) return;

    job->start_page();
    job->create_font();
    job->select_font();

    print_index(*job, in.catalog);
    // Read once for all entries, so that the printout's cost grows with the
    // songbook, not with its square.
    PrintedSongs songs(in.songbook_path);
    std::vector<PrintedEntry> printed;
    printed.reserve(in.catalog.entries.size());
    std::vector<std::string_view> lines;
    for (std::size_t k = 1; k <= in.catalog.entries.size(); ++k) {
        printed.push_back(look_up_entry(in, songs, k, lines));
        print_song_pages(*job, in, k, lines);
    }
    leave_last_song(in.song, songs, printed);

    job->restore_font();
    job->end();
    job->delete_font();
}

}  // namespace lyro
