// The song viewer's repaint; see viewer_paint.h.
#include "ui/viewer_paint.h"

#include <algorithm>
#include <climits>

#include "perflist/perf_list.h"
#include "remote/remote_page.h"
#include "remote/stage_state.h"
#include "transpose/transpose_song.h"
#include "ui/gdi_handles.h"

namespace lyro {

namespace {

constexpr int kBold = 700;
constexpr const char* kVeraFace = "Bitstream Vera Sans";
constexpr const char* kLucidaFace = "Lucida Console";

// A run shows every song at its entry's key change; a single song keeps the
// key that the user set.
void take_key_from_entry(DeskState& state) {
    if (state.position.single_song_mode != 0) return;
    if (const ListEntry* entry = entry_at(state.list, state.position.list_position)) {
        state.position.key_offset = entry->key_change;
    }
}

void draw_lines(HDC dc, const CurrentSong& song, const ViewerLayout& layout) {
    const std::size_t count = std::min(song.line_count, song.display.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& line = song.display[i];
        const auto length = static_cast<int>(std::min<std::size_t>(line.size(), INT_MAX));
        TextOutA(dc, scaled_to_dpi(kTextLeft, layout.dpi),
                 line_y(i, layout.top_line, layout.text.height, layout.dpi), line.data(), length);
    }
}

}  // namespace

int window_dpi(HWND window) {
    // GetDpiForWindow came with Windows 10 (1607): looked up, not linked,
    // so that the program still starts on Windows 7.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    const auto for_window = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (for_window != nullptr) {
        if (const UINT dpi = for_window(window); dpi > 0) return static_cast<int>(dpi);
    }
    const WindowDc dc(window);
    const int dpi = dc.get() != nullptr ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kTableDpi;
}

HFONT create_display_font(TextSize size, int font_choice) {
    return CreateFontA(size.height, size.width, 0, 0, kBold, FALSE, FALSE, FALSE, OEM_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH,
                       font_choice == 1 ? kVeraFace : kLucidaFace);
}

void paint_song(DeskState& state, HWND viewer, ViewerLayout& layout) {
    const PaintSession paint(viewer);
    layout.dpi = window_dpi(viewer);
    layout.text = magnify_size(state.viewer.magnify_level, layout.dpi);
    const GdiFont font(create_display_font(layout.text, state.viewer.font_choice));
    const Selection selected(paint.dc(), font.get());
    SetTextColor(paint.dc(), RGB(0, 0, 0));
    SetBkColor(paint.dc(), GetSysColor(COLOR_BTNFACE));

    take_key_from_entry(state);
    transpose_song(state.song, state.position.key_offset, state.viewer.spelling);
    draw_lines(paint.dc(), state.song, layout);
    write_song_page(state.files.page(), state.song.title, state.song.display,
                    state.song.line_count);
    state.stage.publish(state.files.stage(), song_stage(state.song, state.position, state.list, state.viewer.spelling));
    // The selection ends before the font goes, and both before EndPaint.
}

}  // namespace lyro
