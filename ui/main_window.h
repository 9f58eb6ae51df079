// The main window of songdesk: its class, its creation with the start-up
// steps, the routing of commands to the dialogs, the song-request timer and
// the exit steps.
#pragma once

#include <windows.h>

#include "ui/desk_state.h"

namespace lyro {

// Runs the whole program on `state`: initialises the common controls,
// registers the class, creates and shows the main window and runs the
// message loop. Returns the quit code (0), or 0 at once when start-up ended
// the program before the window was made.
int run_songdesk(DeskState& state, HINSTANCE instance, int show);

// The exit steps: TERMINATE = "1", timer 3 stopped, the quit message
// posted. They run once, however the program ends.
void run_exit_steps(DeskState& state);

}  // namespace lyro
