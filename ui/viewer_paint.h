// The song viewer's repaint: the current song transposed by the key offset,
// drawn in the display font, and published as the remote song page.
#pragma once

#include <windows.h>

#include "view/song_view.h"
#include "ui/desk_state.h"

namespace lyro {

// What the viewer keeps between repaints: the first line drawn at the top
// of the text area, and the text size of the last repaint (which the
// scroll bar's page steps use).
struct ViewerLayout {
    int top_line = 0;
    TextSize text{};  // 14 and 11 until the first repaint
    int dpi = kTableDpi;  // the screen resolution of the last repaint
};

// The dots per inch of the screen that `window` is on, as the window sees
// them: the monitor's own where Windows tells each window (Windows 10 and
// later), else the system's.
int window_dpi(HWND window);

// The display font at one text size: bold, fixed pitch, OEM character set,
// "Bitstream Vera Sans" for font choice 1, else "Lucida Console". The
// caller owns it.
HFONT create_display_font(TextSize size, int font_choice);

// Handles WM_PAINT. In run mode the key offset is first taken from the list
// entry that is shown. Every display line is rebuilt from the raw lines and
// drawn, and the remote page is rewritten with them.
void paint_song(DeskState& state, HWND viewer, ViewerLayout& layout);

}  // namespace lyro
