// The current-song printout.
//
// Page layout, in line steps from the top of the printable area:
//   first page: the title at half an inch, around the middle; display line 0
//     (the blank line that every load puts first) at 2.5, each next line one
//     step lower;
//   continuation page: "Continued....." at half an inch, where the title
//     stood; its first line at 5.
// Every page holds at most 61 lines, as in the songbook printout, and fewer
// when the next line would reach below the printable area; a song that does
// not fit runs on over as many continuation pages as it needs rather than
// losing its last lines. Unlike the songbook printout's song
// pages, a continuation page is started only when a line is left for it, so
// a song that exactly fills its pages gets no page with the heading alone.
#include "print/song_printout.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "print/page_layout.h"

namespace lyro {

void print_current_song(PrintSurface& surface, OwnerWindow owner, const CurrentSong& song) {
    const auto job = surface.start_job(kPrintDocumentName, owner);
    if (!job) return;
    const PrintMeasures& m = job->measures();

    job->create_font();
    job->start_page();
    job->select_font();

    const int title_x = centred_x(m.page_width, song.title.size());
    job->text(title_x, m.inch_height / 2, song.title);

    const std::size_t count = std::min(song.line_count, song.display.size());
    const std::vector<std::string_view> lines(song.display.begin(),
                                              song.display.begin() + static_cast<long>(count));
    draw_running_lines(*job, lines, m.line_step + m.line_step / 2, title_x,
                       PageBreak::before_next_line);

    job->restore_font();
    job->end_page();
    job->end();
    job->delete_font();
}

}  // namespace lyro
