// Routing between the dialogs and the main window; see routing.h.
#include "ui/routing.h"

#include <string>

#include "library/catalog.h"
#include "remote/list_pages.h"
#include "remote/stage_state.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro {

bool show_in_open_viewer(DeskState& state) {
    if (state.windows.viewer == nullptr) return false;
    PostMessageA(state.windows.viewer, kViewerShowSong, 0, 0);
    return true;
}

void show_in_viewer(DeskState& state, std::string_view title) {
    state.song.title = std::string(title);
    if (!show_in_open_viewer(state)) {
        PostMessageA(state.windows.main, WM_COMMAND, CMD_OPEN_VIEWER, 0);
    }
}

void open_in_editor(DeskState& state, std::string_view title) {
    state.song.title = std::string(title);
    PostMessageA(state.windows.main, WM_COMMAND, CMD_OPEN_EDITOR, 0);
}

void rebuild_catalog(DeskState& state) {
    HWND library = state.windows.library;
    WinSongBox song_box(library ? GetDlgItem(library, IDC_SONG_BOX) : nullptr);
    WinTextLabel count_label(library ? GetDlgItem(library, IDC_COUNT) : nullptr);
    WinBeeper beeper;
    ListPages list_pages(state.files.page());
    build_catalog(state.files.songbook(), state.show_hidden, state.catalog,
                  CatalogOutputs{song_box, count_label, beeper, list_pages});
    state.stage.publish(state.files.stage(), list_stage(list_pages.take_titles(), state.list));
}

}  // namespace lyro
