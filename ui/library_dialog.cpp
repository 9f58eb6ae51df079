// The library dialog's procedure and commands; see library_dialog.h.
#include "ui/library_dialog.h"

#include <string>

#include "library/catalog.h"
#include "library/song_loading.h"
#include "perflist/perf_list.h"
#include "perflist/songlist_file.h"
#include "remote/song_request.h"
#include "ui/desk_texts.h"
#include "ui/library_print.h"
#include "ui/dialog_data.h"
#include "ui/resource.h"
#include "ui/routing.h"
#include "ui/win_controls.h"

namespace lyro {

namespace {

// The song box's edit field, read as a 50-byte buffer would hold it.
constexpr std::size_t kChosenTitleMax = 49;

// The controls and window-side helpers that one command works with.
struct Library {
    DeskState& state;
    HWND dialog;

    std::string chosen_title() const {
        return control_text(GetDlgItem(dialog, IDC_SONG_BOX), kChosenTitleMax);
    }
    WinListBox list_box() const { return WinListBox(GetDlgItem(dialog, IDC_PERF_LIST)); }
    WinTextLabel status_label() const { return WinTextLabel(GetDlgItem(dialog, IDC_STATUS)); }
    MessageBoxPrompter prompter() const { return MessageBoxPrompter(dialog); }
    ShowInViewer show() const {
        return [&s = state](std::string_view title) { show_in_viewer(s, title); };
    }
};

void close_library(Library& lib, INT_PTR result) {
    if (lib.state.windows.library == lib.dialog) lib.state.windows.library = nullptr;
    EndDialog(lib.dialog, result);
}

void load_list(Library& lib) {
    WinListBox box = lib.list_box();
    MessageBoxPrompter prompter = lib.prompter();
    WinBeeper beeper;
    load_songlist(lib.state.list, box, prompter, beeper, lib.state.files);
}

void fill(Library& lib) {
    clear_display_lines(lib.state.song);
    rebuild_catalog(lib.state);
    load_list(lib);
}

void review(Library& lib) {
    const int requested = take_song_request(lib.state.requests);
    if (requested >= 1) {
        // A request outside the list is ignored rather than read.
        if (const ListEntry* entry =
                move_to_requested_entry(lib.state.position, requested, lib.state.list)) {
            show_in_viewer(lib.state, entry->title);
        }
        return;
    }
    lib.state.position.single_song_mode = 1;
    const std::string title = lib.chosen_title();
    lib.state.position.start_position = 0;
    lib.state.position.list_position = 0;
    lib.state.song.title = title;
    WinTextLabel status = lib.status_label();
    WinBeeper beeper;
    load_current_song(lib.state.files.songbook(), lib.state.song, status, beeper);
    lib.state.position.key_offset = 0;
    show_in_viewer(lib.state, title);
}

void edit_song(Library& lib) {
    lib.state.new_song = false;
    open_in_editor(lib.state, lib.chosen_title());
}

void new_song(Library& lib) {
    lib.state.new_song = true;
    open_in_editor(lib.state, "songnew");
}

// Exit Program: with an unsaved list, asks first (owned by the main window).
void exit_program(Library& lib) {
    if (lib.state.list.changed &&
        !ask_yes_no(lib.state.windows.main, texts::kListChangedExit, texts::kListChangedCaption)) {
        return;
    }
    PostMessageA(lib.state.windows.main, WM_DESTROY, 0, 0);
    close_library(lib, 0);
}

void close_box(Library& lib) {
    if (lib.state.list.changed &&
        !ask_yes_no(lib.state.windows.main, texts::kListChangedClose,
                    texts::kListChangedCaption)) {
        return;
    }
    close_library(lib, 0);
}

void show_hidden(Library& lib) {
    lib.state.show_hidden = IsDlgButtonChecked(lib.dialog, IDC_SHOW_HIDDEN) == BST_CHECKED;
    rebuild_catalog(lib.state);
}

void transfer(Library& lib) {
    WinListBox box = lib.list_box();
    transfer_title(lib.state.list, box, lib.chosen_title());
}

void clear(Library& lib) {
    WinListBox box = lib.list_box();
    MessageBoxPrompter prompter = lib.prompter();
    clear_list(lib.state.list, box, prompter);
}

template <bool (*Move)(PerfList&, ListBox&, Beeper&)>
void move(Library& lib) {
    WinListBox box = lib.list_box();
    WinBeeper beeper;
    Move(lib.state.list, box, beeper);
}

void remove_entry(Library& lib) {
    WinListBox box = lib.list_box();
    delete_entry(lib.state.list, box);
}

template <bool (*Run)(PerfList&, ViewPosition&, const RunSurroundings&)>
void run(Library& lib) {
    WinListBox box = lib.list_box();
    MessageBoxPrompter prompter = lib.prompter();
    WinBeeper beeper;
    const ShowInViewer show = lib.show();
    Run(lib.state.list, lib.state.position, RunSurroundings{box, prompter, beeper, show});
}

void save_list(Library& lib) {
    lib.state.list.changed = false;
    WinListBox box = lib.list_box();
    MessageBoxPrompter prompter = lib.prompter();
    save_songlist(lib.state.list, box, prompter, lib.state.files);
}

// Handles one command; returns the dialog procedure's answer.
INT_PTR on_command(Library& lib, int id) {
    switch (id) {
        case CMD_FILL: fill(lib); return TRUE;
        case IDCANCEL: close_library(lib, 1); return TRUE;
        case IDC_REVIEW: review(lib); break;
        case IDC_TRANSFER: transfer(lib); break;
        case IDC_RUN: run<run_from_start>(lib); break;
        case IDC_RUN_SELECT: run<run_from_selection>(lib); break;
        case IDC_CLEAR_LIST: clear(lib); break;
        case IDC_LOAD_LIST: load_list(lib); break;
        case IDC_SAVE_LIST: save_list(lib); break;
        case IDC_MOVE_UP: move<move_up>(lib); break;
        case IDC_MOVE_DN: move<move_down>(lib); break;
        case IDC_DELETE: remove_entry(lib); break;
        case IDC_EDIT_SONG: edit_song(lib); break;
        case IDC_NEW_SONG: new_song(lib); break;
        case IDC_EXIT_PROGRAM: exit_program(lib); break;
        case IDC_CLOSE_BOX: close_box(lib); break;
        case IDC_HELP_TEXT: tell(lib.dialog, texts::kHelp, texts::kHelpCaption); break;
        case IDC_SHOW_HIDDEN: show_hidden(lib); break;
        case IDC_PRINT_BOOK: print_whole_songbook(lib.state, lib.dialog); return TRUE;
        default: break;
    }
    return FALSE;
}

INT_PTR CALLBACK library_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        Library& lib = keep_dialog_data<Library>(dialog, lparam);
        lib.dialog = dialog;
        DeskState& state = lib.state;
        state.windows.library = dialog;
        // The check box shows the setting that the song box is filled with.
        CheckDlgButton(dialog, IDC_SHOW_HIDDEN,
                       state.show_hidden ? BST_CHECKED : BST_UNCHECKED);
        PostMessageA(dialog, WM_COMMAND, CMD_FILL, 0);
        return TRUE;
    }
    Library* lib = dialog_data<Library>(dialog);
    if (lib == nullptr) return FALSE;
    if (message == WM_COMMAND) return on_command(*lib, LOWORD(wparam));
    if (message == WM_DESTROY && lib->state.windows.library == dialog) {
        // However the dialog ends (a quit message too), requests must no
        // longer be posted to it.
        lib->state.windows.library = nullptr;
    }
    return FALSE;
}

}  // namespace

void run_library_dialog(DeskState& state) {
    Library lib{state, nullptr};
    run_dialog(state.windows.instance, "LOG", state.windows.main, library_proc, lib);
}

}  // namespace lyro
