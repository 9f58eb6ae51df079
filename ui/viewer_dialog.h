// The song viewer (template SONGVIEWER), opened by the main window on
// command 206 above the dialog that asked for it.
//
// Contract with the rest of the program:
//  - while it is open its handle is in state.windows.viewer (set on
//    WM_INITDIALOG, cleared when it closes), so that a song request or a
//    second 206 shows the song in this viewer instead of opening another;
//  - on kViewerShowSong (ui/routing.h) it loads state.song.title again and
//    repaints with the key offset and positions already set in state.position,
//    exactly as when it opens: from the start position, with the text at
//    its first line.
#pragma once

#include <windows.h>

#include "ui/desk_state.h"
#include "ui/viewer_paint.h"

namespace lyro {

// Runs the viewer modally above the main window until it is closed.
void run_viewer_dialog(DeskState& state);

// The open viewer's top line and the text size of its last repaint; the
// default layout for a window that is not a viewer. Read it on the
// viewer's own thread (or after a message sent to it has returned).
ViewerLayout viewer_layout(HWND viewer);

}  // namespace lyro
