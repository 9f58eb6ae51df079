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
#include <span>

#include "library/title_ops.h"
#include "print/page_layout.h"
#include "print/song_index.h"

namespace lyro {

namespace {

constexpr std::string_view kHeading = "Songbook Print";
constexpr std::string_view kAddedLine = "    ";
constexpr std::string_view kFound = " ";
constexpr std::string_view kNotFound = "Song Not Found";

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

// Appends a line to the current song's display lines, making room past the
// usual 200 when a song is longer; the raw lines grow along, so that the
// line count never names a line that either of them lacks.
void add_display_line(CurrentSong& song, std::string_view line) {
    if (song.display.size() <= song.line_count) song.display.resize(song.line_count + 1);
    if (song.raw.size() <= song.line_count) song.raw.resize(song.line_count + 1);
    song.display[song.line_count++] = line;
}

// Fills the current song with entry k's song as the printout shows it: its
// body lines as stored (cleaned, cut to 100 characters, not transposed), then
// the added blank line. The status label and the beeper hear what a lookup
// of the title from the top of the file would have told them. A songbook
// that cannot be opened counts as a song not found.
void load_entry(const SongbookSources& in, const SongIndex& index, std::size_t k) {
    CurrentSong& song = in.song;
    in.position.single_song_mode = 1;
    in.position.start_position = in.position.list_position = static_cast<int>(k - 1);
    in.position.key_offset = 0;
    song.title = in.catalog.entries[k - 1];
    fold_title(song.title);
    song.line_count = 0;

    const IndexedSong* found = index.find(song.title);
    const std::size_t beeps = !index.opened() ? 0 : found ? found->beeps : index.beeps_when_not_found();
    for (std::size_t i = 0; i < beeps; ++i) in.beeper.beep();
    in.status.set_text(found ? kFound : kNotFound);
    if (found) {
        index.lines(*found, [&song](std::string_view line) { add_display_line(song, line); });
    }
    add_display_line(song, kAddedLine);
}

void print_song_pages(PrintJob& job, const SongbookSources& in, const SongIndex& index,
                      std::size_t k) {
    const PrintMeasures& m = job.measures();
    job.start_page();
    load_entry(in, index, k);
    const std::string title_line = in.song.title + " -- " + std::to_string(k);
    const int title_x = centred_x(m.page_width, title_line.size());
    job.text(title_x, m.inch_height / 2, title_line);
    draw_running_lines(job, std::span(in.song.display).first(in.song.line_count),
                       3 * m.line_step + m.line_step / 2, title_x, PageBreak::after_full_page);
    job.end_page();
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
    const SongIndex index(in.songbook_path);
    for (std::size_t k = 1; k <= in.catalog.entries.size(); ++k)
        print_song_pages(*job, in, index, k);

    job->restore_font();
    job->end();
    job->delete_font();
}

}  // namespace lyro
