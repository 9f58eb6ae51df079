// The program's one state object: everything songdesk keeps for its whole
// run. WinMain owns it; the main window keeps a pointer to it in its user
// data and hands it to every dialog's own struct (ui/dialog_data.h).
#pragma once

#include <windows.h>

#include <memory>

#include "library/catalog.h"
#include "library/current_song.h"
#include "library/data_files.h"
#include "perflist/list_ui.h"
#include "perflist/perf_list.h"
#include "platform/profile_store.h"
#include "remote/song_request.h"
#include "remote/stage_publisher.h"
#include "transpose/transpose_song.h"
#include "view/view_position.h"

namespace lyro {

// The windows of the program. A dialog sets its own handle when it starts
// and clears it when it closes, so that the others can tell whether it is
// open.
struct DeskWindows {
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    HWND library = nullptr;  // the library dialog (LOG) while it is open
    HWND viewer = nullptr;   // the song viewer (SONGVIEWER) while it is open
    HWND editor = nullptr;   // the song editor (BOOK) while it is open
};

// How the viewer draws: its magnification and the font chosen at start.
struct ViewerSettings {
    int magnify_level = 2;  // 0..6
    int font_choice = 0;    // 1 = Vera, 0 = Lucida Console
    Spelling spelling = Spelling::fixed;  // kept in the profile (SPELLING)
};

struct DeskState {
    DataFiles files;
    CurrentSong song;
    Catalog catalog;
    PerfList list;
    ViewPosition position;
    RequestState requests;
    ViewerSettings viewer;
    StagePublisher stage;  // stage.json: what the band's tablets show
    bool new_song = false;  // the editor was opened by "New Song"
    bool show_hidden = false;
    // The [LYROVANT] section of the profile: the user's WIN.INI in the
    // program (WinMain hands it over), one of their own in the tests.
    std::unique_ptr<ProfileStore> profile;
    DeskWindows windows;
    // Set once the exit steps have run, so that they run once on any path.
    bool exited = false;
};

}  // namespace lyro
