// The song viewer's arithmetic; see song_view.h.
#include "view/song_view.h"

#include <algorithm>
#include <array>
#include <limits>

namespace lyro {

namespace {

constexpr std::array<TextSize, kHighestMagnify + 1> kMagnifyTable{{
    {12, 9},
    {13, 10},
    {14, 11},
    {16, 12},
    {18, 13},
    {19, 14},
    {20, 15},
}};

}  // namespace

int key_step_down(int key_offset) {
    const int key = key_offset - 1;
    return key < kLowestViewerKey ? 0 : key;
}

int key_step_up(int key_offset) {
    const int key = key_offset + 1;
    return key > kHighestViewerKey ? 0 : key;
}

int scaled_to_dpi(int pixels, int dpi) {
    // A resolution no screen has (below half of 96 or past 100 times it)
    // is taken as the nearest one that makes sense: no text shrinks to
    // nothing and nothing overflows.
    const long long d = std::clamp(dpi, kTableDpi / 2, 100 * kTableDpi);
    return static_cast<int>((pixels * d + kTableDpi / 2) / kTableDpi);
}

TextSize magnify_size(int level, int dpi) {
    const TextSize size = kMagnifyTable[static_cast<std::size_t>(
        std::clamp(level, kLowestMagnify, kHighestMagnify))];
    return {scaled_to_dpi(size.height, dpi), scaled_to_dpi(size.width, dpi)};
}

int magnify_up(int level) { return std::min(level + 1, kHighestMagnify); }

int magnify_down(int level) { return std::max(level - 1, kLowestMagnify); }

int line_y(std::size_t line, int top_line, int line_height, int dpi) {
    // Line numbers stay far below int's range (a song has at most a few
    // hundred lines), so the difference cannot overflow.
    const auto index = static_cast<long long>(std::min<std::size_t>(line, 1u << 20));
    const long long y = (index - top_line) * line_height + scaled_to_dpi(kTextTop, dpi);
    return static_cast<int>(std::clamp<long long>(y, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

int top_line_limit(std::size_t line_count, int line_height, int client_height, int dpi) {
    // Whole lines that fit below the text's top edge; at least one, so that
    // a tiny window still reaches the last line.
    const int top = scaled_to_dpi(kTextTop, dpi);
    const int fitting = std::max(1, (client_height - top) / std::max(1, line_height));
    const auto count = static_cast<long long>(std::min<std::size_t>(line_count, 1u << 20));
    return static_cast<int>(std::max<long long>(kShortSongTopLimit, count - fitting));
}

int clamp_top_line(int top_line, int limit) { return std::clamp(top_line, 0, std::max(0, limit)); }

int scrolled_top_line(int top_line, int request, int thumb, int client_height, int line_height,
                      int limit) {
    const int page = client_height / std::max(1, line_height);
    int top = top_line;
    switch (static_cast<ScrollRequest>(request)) {
        case ScrollRequest::line_up: top = top_line - 1; break;
        case ScrollRequest::line_down: top = top_line + 1; break;
        case ScrollRequest::page_up: top = top_line - page + 1; break;
        case ScrollRequest::page_down: top = top_line + page - 1; break;
        case ScrollRequest::thumb_track: top = thumb; break;
        default: break;
    }
    return clamp_top_line(top, limit);
}

int stepped_list_position(const ViewPosition& view, int list_length, RunStep step,
                          Beeper& beeper) {
    if (view.single_song_mode != 0) {
        beeper.beep();
        return -1;
    }
    const int position = view.list_position;
    if (step == RunStep::previous) return position > 0 ? position - 1 : position;
    return position < list_length - 1 ? position + 1 : position;
}

}  // namespace lyro
