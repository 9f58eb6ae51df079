// The song editor's dialog procedure: loading the song into the boxes, the
// two saves, Cancel and Help.
#include "ui/editor_dialog.h"

#include <optional>
#include <string>
#include <utility>

#include "library/song_body.h"
#include "library/song_loading.h"
#include "library/song_saving.h"
#include "library/title_ops.h"
#include "ui/dialog_data.h"
#include "ui/editor_boxes.h"
#include "ui/editor_texts.h"
#include "library/editor_title.h"
#include "ui/resource.h"
#include "ui/routing.h"
#include "ui/win_controls.h"

namespace lyro {

namespace {

// The title with which "New Song" opens the editor on its template texts.
constexpr const char* kNewSongTitle = "songnew";

// What one open editor keeps for itself. The library dialog beneath it
// stays usable, and its Review, Edit Song and New Song change the shared
// current title and new-song flag; a save must still replace the song that
// this editor loaded, so the editor works on its own copies and writes them
// back to the shared state where the rest of the program reads them.
struct EditorSession {
    DeskState& state;
    std::string edited_title;  // the title that the songbook knows the song by
    bool new_song;             // the song is not in the songbook yet
};


void set_status_label(const DeskState& state, std::string_view text) {
    HWND library = state.windows.library;
    WinTextLabel status(library ? GetDlgItem(library, IDC_STATUS) : nullptr);
    status.set_text(text);
}

// The song of the edited title as the editor shows it: its stored title
// and its text whole, however long. Empty when the song is not found.
struct LoadedSong {
    std::string title;
    std::string key;
    std::string text;
};

std::optional<LoadedSong> find_for_editor(const DeskState& state, const std::string& title) {
    const auto book = read_songbook(state.files.songbook());
    if (!book) return std::nullopt;
    auto stored_title = stored_song_title(*book, title);
    auto text = editor_text(*book, title);
    if (!stored_title || !text) return std::nullopt;
    return LoadedSong{std::move(*stored_title), stored_song_key(*book, title), std::move(*text)};
}

// Fills the boxes from the songbook. A song that is not found shows the
// title as it was picked, and the template text.
void load_into_editor(EditorSession& session, HWND editor) {
    DeskState& state = session.state;
    const auto song = find_for_editor(state, session.edited_title);
    set_status_label(state, song ? kSongFound : kSongNotFound);
    // Saved unchanged, the stored title gives the same header again; the
    // picked one may differ in case or by the header's blank.
    show_editor_title(editor, song ? song->title : session.edited_title);
    fold_title(session.edited_title);
    state.song.title = session.edited_title;
    if (song) {
        show_editor_key(editor, song->key);
        show_editor_text(editor, song->text);
    }
}

// The key box shows the song's key; a new song has none yet.
void fill(EditorSession& session, HWND editor) {
    show_editor_key(editor, "");
    if (session.edited_title != kNewSongTitle) load_into_editor(session, editor);
}

// Saves the song as the boxes hold it and tells the user what went wrong
// if it did not work; the boxes are left exactly as they are either way.
// True when the songbook now holds the song.
bool save(EditorSession& session, HWND editor) {
    if (control_text(GetDlgItem(editor, IDC_E_TITLE), kTitleMax) == texts::kTemplateTitle) {
        tell(editor, texts::kEnterSongName, kSaveCaption);
        return false;
    }
    DeskState& state = session.state;
    const WinEditorBoxes boxes(editor);
    SystemFiles files;
    const SaveResult result =
        save_song(files, state.files, boxes, session.new_song, session.edited_title);
    // The song box and the remote list page show the songbook as it now is.
    rebuild_catalog(state);
    if (result != SaveResult::saved) {
        tell(editor, save_message(result), kSaveCaption, MB_ICONEXCLAMATION);
        return false;
    }
    state.song.title = session.edited_title;
    return true;
}

// "S - Save Update": the dialog stays open, and from now on a save
// replaces the song just written instead of adding it again.
void save_update(EditorSession& session, HWND editor) {
    if (!save(session, editor)) return;
    session.new_song = false;
    session.state.new_song = false;
}

void close_editor(EditorSession& session, HWND editor, INT_PTR result) {
    if (session.state.windows.editor == editor) session.state.windows.editor = nullptr;
    EndDialog(editor, result);
}

INT_PTR on_command(EditorSession& session, HWND editor, int id) {
    switch (id) {
        case CMD_FILL: fill(session, editor); return TRUE;
        case IDC_E_SAVE: save_update(session, editor); return TRUE;
        case IDOK:
            if (save(session, editor)) close_editor(session, editor, IDOK);
            return TRUE;
        case IDCANCEL: close_editor(session, editor, IDCANCEL); return TRUE;
        case IDC_E_HELP: tell(editor, texts::kEditorHelp, texts::kEditorHelpCaption); return TRUE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK editor_proc(HWND editor, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        EditorSession& session = keep_dialog_data<EditorSession>(editor, lparam);
        session.state.windows.editor = editor;
        set_editor_limits(editor);
        PostMessageA(editor, WM_COMMAND, CMD_FILL, 0);
        return FALSE;
    }
    EditorSession* session = dialog_data<EditorSession>(editor);
    if (session == nullptr) return FALSE;
    if (message == WM_COMMAND) return on_command(*session, editor, LOWORD(wparam));
    if (message == WM_DESTROY && session->state.windows.editor == editor) {
        session->state.windows.editor = nullptr;
    }
    return FALSE;
}

}  // namespace

void run_editor_dialog(DeskState& state) {
    EditorSession session{state, state.song.title, state.new_song};
    run_dialog(state.windows.instance, "BOOK", state.windows.main, editor_proc, session);
}

}  // namespace lyro
