// The page layout that both printouts share: centred headings, 61 lines to
// a page, and songs that run on over pages headed "Continued.....".
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "print/print_surface.h"

namespace lyro {

// A page holds 61 lines: it ends once its line count exceeds 60.
inline constexpr int kLinesPerPage = 61;

// Whether a page that holds `on_page` lines is full before a line at
// `next_y`: it is after 61 lines, and earlier when that line would reach
// below the printable area, so that a printer whose lines are too tall for
// 61 to a page loses none of them. A page always takes at least one line.
bool page_full(const PrintMeasures& m, int on_page, int next_y);
inline constexpr std::string_view kContinuedHeading = "Continued.....";

// Where a heading of `chars` characters starts: half the page width less
// half its characters less 5, each half cut to a whole number, never below 0.
// The heading is measured in characters, not in pixels.
int centred_x(int page_width, std::size_t chars);

// When a full page gives way to a continuation page.
enum class PageBreak {
    after_full_page,   // at once after its last line, even when no line follows
    before_next_line,  // only when another line is still to be printed
};

// Draws `lines` at the left margin, the first one line step below `y` and
// each next one a line step lower. When the page is full the page ends and
// a new one starts with "Continued....." at (`heading_x`, half an inch); its
// lines start five line steps from the top. The last page stays open.
void draw_running_lines(PrintJob& job, std::span<const std::string_view> lines, int y, int heading_x,
                        PageBreak page_break);

}  // namespace lyro
