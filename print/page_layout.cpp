// Headings and running pages shared by the song and songbook printouts.
#include "print/page_layout.h"

#include <algorithm>

namespace lyro {

int centred_x(int page_width, std::size_t chars) {
    // Worked in long long so that no title length can wrap the result.
    const long long half_chars = static_cast<long long>(std::min<std::size_t>(chars, 1u << 30) / 2);
    const long long x = page_width / 2 - half_chars - 5;
    return static_cast<int>(std::max(x, 0LL));
}

bool page_full(const PrintMeasures& m, int on_page, int next_y) {
    if (on_page >= kLinesPerPage) return true;
    return m.page_height > 0 && on_page > 0 &&
           static_cast<long long>(next_y) + m.line_height > m.page_height;
}

namespace {
void start_continuation_page(PrintJob& job, int heading_x) {
    job.end_page();
    job.start_page();
    job.text(heading_x, job.measures().inch_height / 2, kContinuedHeading);
}
}  // namespace

void draw_running_lines(PrintJob& job, std::span<const std::string_view> lines, int y, int heading_x,
                        PageBreak page_break) {
    const PrintMeasures& m = job.measures();
    int on_page = 0;
    const auto next_page_if_full = [&](PageBreak when) {
        if (page_break != when || !page_full(m, on_page, y + m.line_step)) return;
        start_continuation_page(job, heading_x);
        y = 4 * m.line_step;
        on_page = 0;
    };
    for (std::string_view line : lines) {
        next_page_if_full(PageBreak::before_next_line);
        y += m.line_step;
        job.text(m.left_margin, y, line);
        ++on_page;
        next_page_if_full(PageBreak::after_full_page);
    }
}

}  // namespace lyro
