// songdesk's entry point: the program's one state object lives here for the
// whole run; everything else reaches it through the main window.
#include <windows.h>

#include "ui/desk_state.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    lyro::DeskState state;
    return lyro::run_songdesk(state, instance, show);
}
