// The library dialog (template LOG): the catalog of songs on the left, the
// performance list on the right. The main window opens it at start and on
// "Song&list"; it stays open beneath the viewer and the editor.
#pragma once

#include "ui/desk_state.h"

namespace lyro {

// Runs the dialog modally above the main window until it is closed. While
// it is open its handle is in state.windows.library.
void run_library_dialog(DeskState& state);

}  // namespace lyro
