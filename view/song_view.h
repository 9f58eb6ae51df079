// The song viewer's arithmetic, apart from any window: the key steps, the
// magnify table, where each line is drawn, how far the text may be moved
// up, paging and scrolling, and the steps through a running performance
// list. The viewer's dialog applies these to its controls.
#pragma once

#include <cstddef>

#include "library/beeper.h"
#include "view/view_position.h"

namespace lyro {

// The key offset that the viewer's buttons produce runs from -11 to +12; a
// step past either end goes back to 0, not round to the other end.
inline constexpr int kLowestViewerKey = -11;
inline constexpr int kHighestViewerKey = 12;

int key_step_down(int key_offset);
int key_step_up(int key_offset);

// Font height (also the distance between lines) and character width, in
// pixels, at one magnify level.
struct TextSize {
    int height = 14;
    int width = 11;
};

inline constexpr int kLowestMagnify = 0;
inline constexpr int kHighestMagnify = 6;

// The screen resolution that the viewer's pixel sizes are written for. On
// a screen of more dots per inch everything the viewer draws grows by
// dpi / 96, so that text is as large to the eye as on a 96-dpi screen.
inline constexpr int kTableDpi = 96;

// `pixels` at 96 dpi as pixels at `dpi`, rounded to the nearest.
int scaled_to_dpi(int pixels, int dpi);

// The magnify table, at `dpi`; a level outside 0..6 is read as the nearest
// end.
TextSize magnify_size(int level, int dpi = kTableDpi);
int magnify_up(int level);
int magnify_down(int level);

// Where the text starts: line i is drawn at x = kTextLeft,
// y = (i - top line) * line height + kTextTop (both at 96 dpi).
inline constexpr int kTextLeft = 3;
inline constexpr int kTextTop = 20;

int line_y(std::size_t line, int top_line, int line_height, int dpi = kTableDpi);

// The top line never goes below 0, nor above this limit for a song that
// fits below it; Pg Down always lands on the limit.
inline constexpr int kShortSongTopLimit = 21;
// The largest top line for a song of `line_count` lines (line 0 included)
// shown in a text area `client_height` pixels high: 21, or, for a song
// whose last line would still lie below the area with the top line at 21,
// the top line that brings the last line fully into view.
int top_line_limit(std::size_t line_count, int line_height, int client_height,
                   int dpi = kTableDpi);

int clamp_top_line(int top_line, int limit);

// The scroll bar's request codes that move the text.
enum class ScrollRequest : int {
    line_up = 0,
    line_down = 1,
    page_up = 2,
    page_down = 3,
    thumb_position = 4,
    thumb_track = 5,
};

// The top line after one scroll-bar request, already limited to 0..limit.
// `thumb` is the thumb's position for thumb tracking; codes that do not
// move the text (thumb_position, end of scroll and unknown codes) leave the
// top line as it is.
int scrolled_top_line(int top_line, int request, int thumb, int client_height, int line_height,
                      int limit);

enum class RunStep { previous, next };

// The list position after Prev.Song or Next Song, kept inside the list
// (0 .. list_length - 1; it stays where it is at either end). In
// single-song mode there is no run to step through: the beeper sounds and
// the result is -1.
int stepped_list_position(const ViewPosition& view, int list_length, RunStep step,
                          Beeper& beeper);

}  // namespace lyro
