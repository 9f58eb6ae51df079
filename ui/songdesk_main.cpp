// songdesk's entry point: the program's one state object lives here for the
// whole run; everything else reaches it through the main window.
#include <windows.h>

#include "ui/desk_state.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    lyro::DeskState state;
    // The user's own WIN.INI, which songserv and other tools share, and
    // song requests polled about every 5 seconds.
    state.profile = lyro::open_user_profile(lyro::kProfileSection);
    state.requests.ticks_between_polls = lyro::kTicksBetweenPolls;
    return lyro::run_songdesk(state, instance, show);
}
