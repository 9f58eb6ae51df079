// The song editor (template BOOK), opened by the main window on command 208
// above the dialog that asked for it: a title box and a text box that holds
// the song's lines as they will stand in the songbook.
//
// It edits the song named by the current title when it opens ("songnew"
// with the new-song flag for a new song). While it is open its handle is in
// state.windows.editor.
#pragma once

#include "ui/desk_state.h"

namespace lyro {

// Runs the editor modally above the main window until it is closed.
void run_editor_dialog(DeskState& state);

}  // namespace lyro
