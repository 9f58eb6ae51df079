// How the dialogs ask for another dialog: they never open one directly, but
// set the current title and post a command to the main window, which opens
// the asked-for dialog above the one that asked.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/desk_state.h"

namespace lyro {

// Posted to the open song viewer instead of opening a second one above it
// (a song request, or a viewer asked for while one is open): the current
// title, key offset, start position and list position are already set; the
// viewer loads the current title and repaints, as it does when it starts.
// The viewer keeps its window in DeskWindows::viewer while it is open.
inline constexpr UINT kViewerShowSong = WM_APP + 206;

// A viewer asked for while one is open shows the current song in that
// viewer (kViewerShowSong) instead of stacking a second one on it. Returns
// false when no viewer is open: the caller then opens one.
bool show_in_open_viewer(DeskState& state);

// Sets the current title and opens the viewer on it: command 206 to the
// main window, or kViewerShowSong to a viewer that is already open.
void show_in_viewer(DeskState& state, std::string_view title);

// Sets the current title and posts command 208 to the main window.
void open_in_editor(DeskState& state, std::string_view title);

// Builds the catalog again from the songbook: the song box and the count
// label of the library dialog (when it is open) and the remote list page.
void rebuild_catalog(DeskState& state);

}  // namespace lyro
