// The main window's creation steps: timer 3 started, the songbook made sure
// of, the viewer font chosen, the start announced in the profile section,
// and the library dialog asked for once start-up is over.
#pragma once

#include <windows.h>

#include "ui/desk_state.h"

namespace lyro {

// Runs the creation steps in order. Returns false when the program is to
// end instead (the user refused to create a songbook, or it could not be
// created); the window is then destroyed by its creation failing.
bool start_main_window(DeskState& state, HWND window);

// Puts the check mark of "Sharps and flats by key" on the main window's
// menu as the choice stands.
void show_spelling(const DeskState& state, HWND window);

}  // namespace lyro
