// The song viewer's dialog procedure and commands; see viewer_dialog.h.
#include "ui/viewer_dialog.h"

#include <string>

#include "library/song_loading.h"
#include "perflist/perf_list.h"
#include "print/song_printout.h"
#include "ui/gdi_print_surface.h"
#include "ui/dialog_data.h"
#include "ui/resource.h"
#include "ui/routing.h"
#include "ui/win_controls.h"
#include "view/song_view.h"

namespace lyro {

namespace {

// WM_DPICHANGED, which older headers lack.
constexpr UINT kDpiChanged = 0x02E0;

// One open viewer: the program's state and what the viewer keeps of its
// own. It lives on run_viewer_dialog's stack for as long as the dialog
// runs, and the dialog keeps a pointer to it in its DWLP_USER slot.
struct Viewer {
    DeskState& state;
    HWND dialog = nullptr;
    ViewerLayout layout;
};

void repaint(const Viewer& v) { InvalidateRect(v.dialog, nullptr, TRUE); }

int client_height(const Viewer& v) {
    RECT client{};
    GetClientRect(v.dialog, &client);
    return client.bottom;
}

// The largest top line for the song shown, at the size of the next repaint.
int top_limit(const Viewer& v) {
    const int dpi = window_dpi(v.dialog);
    return top_line_limit(v.state.song.line_count,
                          magnify_size(v.state.viewer.magnify_level, dpi).height,
                          client_height(v), dpi);
}

// The scroll range follows the song and the text size; a top line beyond a
// smaller new limit (a long song left for a short one) comes back into it.
void fit_scroll_range(Viewer& v, BOOL redraw) {
    const int limit = top_limit(v);
    v.layout.top_line = clamp_top_line(v.layout.top_line, limit);
    SetScrollRange(v.dialog, SB_VERT, 0, limit, redraw);
}

void show_key(const Viewer& v) {
    SetDlgItemTextA(v.dialog, IDC_V_STEPS, std::to_string(v.state.position.key_offset).c_str());
}

void show_title(const Viewer& v) {
    SetDlgItemTextA(v.dialog, IDC_V_TITLE, v.state.song.title.c_str());
}

// Loads the current title; "Song Not Found" goes to the library dialog's
// status label when that dialog is open beneath.
void load_song(Viewer& v) {
    HWND library = v.state.windows.library;
    WinTextLabel status(library ? GetDlgItem(library, IDC_STATUS) : nullptr);
    WinBeeper beeper;
    load_current_song(v.state.files.songbook(), v.state.song, status, beeper);
}

// The opening, and a song shown again in the open viewer: from the start
// position, with the text at its first line. The scroll bar is drawn with
// the new range only when the viewer is on screen already.
void open_song(Viewer& v, BOOL redraw_scroll_bar) {
    v.state.position.list_position = v.state.position.start_position;
    v.layout = ViewerLayout{};
    load_song(v);
    fit_scroll_range(v, redraw_scroll_bar);
    show_key(v);
    show_title(v);
    repaint(v);
}

void change_key(Viewer& v, int (*step)(int)) {
    ViewPosition& view = v.state.position;
    v.state.list.changed = true;
    view.key_offset = step(view.key_offset);
    show_key(v);
    if (view.single_song_mode == 0) {
        if (ListEntry* entry = entry_at(v.state.list, view.list_position)) {
            entry->key_change = view.key_offset;
        }
    }
    repaint(v);
}

// Prev.Song and Next Song. The top line stays where it was (inside the new
// song's limit).
void step_song(Viewer& v, RunStep step) {
    ViewPosition& view = v.state.position;
    WinBeeper beeper;
    const int position = stepped_list_position(view, v.state.list.length, step, beeper);
    const ListEntry* entry = position < 0 ? nullptr : entry_at(v.state.list, position);
    if (entry == nullptr) return;
    view.list_position = position;
    v.state.song.title = entry->title;
    load_song(v);
    view.key_offset = entry->key_change;
    fit_scroll_range(v, TRUE);
    show_key(v);
    show_title(v);
    repaint(v);
}

// Pg Up and Pg Down move the text but not the scroll bar's thumb.
void page_to(Viewer& v, int top_line) {
    v.layout.top_line = top_line;
    repaint(v);
}

void magnify(Viewer& v, int (*step)(int)) {
    v.state.viewer.magnify_level = step(v.state.viewer.magnify_level);
    fit_scroll_range(v, TRUE);
    repaint(v);
}

// A scroll request redraws when the text moves or the thumb is not where
// the text is (after Pg Up or Pg Down, which leave the thumb behind).
void scroll(Viewer& v, int request, int thumb) {
    const int before = v.layout.top_line;
    v.layout.top_line = scrolled_top_line(before, request, thumb, client_height(v),
                                          v.layout.text.height, top_limit(v));
    const bool thumb_behind = GetScrollPos(v.dialog, SB_VERT) != v.layout.top_line;
    if (thumb_behind) SetScrollPos(v.dialog, SB_VERT, v.layout.top_line, TRUE);
    if (thumb_behind || v.layout.top_line != before) repaint(v);
}

// Moved to a screen of another resolution: the window takes the size that
// Windows suggests for it there, and the text is drawn anew at the new size.
void change_dpi(Viewer& v, const RECT& suggested) {
    SetWindowPos(v.dialog, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    fit_scroll_range(v, TRUE);
    repaint(v);
}

void print_song(const Viewer& v) {
    GdiPrintSurface surface;
    print_current_song(surface, owner_window(v.dialog), v.state.song);
}

void close_viewer(Viewer& v) {
    if (v.state.windows.viewer == v.dialog) v.state.windows.viewer = nullptr;
    EndDialog(v.dialog, 1);
}

// Handles one command; false for the commands that the viewer leaves to
// the system.
bool on_command(Viewer& v, int id) {
    switch (id) {
        case CMD_FILL: open_song(v, FALSE); break;
        case IDCANCEL: close_viewer(v); break;
        case IDC_V_PREV_KEY: change_key(v, key_step_down); break;
        case IDC_V_NEXT_KEY: change_key(v, key_step_up); break;
        case IDC_V_PREV_SONG: step_song(v, RunStep::previous); break;
        case IDC_V_NEXT_SONG: step_song(v, RunStep::next); break;
        case IDC_V_PAGE_UP: page_to(v, 0); break;
        case IDC_V_PAGE_DOWN: page_to(v, top_limit(v)); break;
        case IDC_V_MAGNIFY_UP: magnify(v, magnify_up); break;
        case IDC_V_MAGNIFY_DOWN: magnify(v, magnify_down); break;
        case IDC_V_PRINT: print_song(v); break;
        default: return false;
    }
    return true;
}

INT_PTR CALLBACK viewer_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        Viewer& v = keep_dialog_data<Viewer>(dialog, lparam);
        v.dialog = dialog;
        v.state.windows.viewer = dialog;
        PostMessageA(dialog, WM_COMMAND, CMD_FILL, 0);
        return TRUE;  // the system sets the focus
    }
    Viewer* v = dialog_data<Viewer>(dialog);
    if (v == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND: return on_command(*v, LOWORD(wparam)) ? TRUE : FALSE;
        case kViewerShowSong: open_song(*v, TRUE); return TRUE;
        case WM_PAINT: paint_song(v->state, dialog, v->layout); return TRUE;
        case WM_VSCROLL: scroll(*v, LOWORD(wparam), HIWORD(wparam)); return TRUE;
        case kDpiChanged: change_dpi(*v, *reinterpret_cast<const RECT*>(lparam)); return TRUE;
        case WM_DESTROY:
            // However the dialog ends, requests must no longer come here.
            if (v->state.windows.viewer == dialog) v->state.windows.viewer = nullptr;
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void run_viewer_dialog(DeskState& state) {
    Viewer viewer{state, nullptr, ViewerLayout{}};
    run_dialog(state.windows.instance, "SONGVIEWER", state.windows.main, viewer_proc, viewer);
}

ViewerLayout viewer_layout(HWND viewer) {
    const Viewer* v = viewer == nullptr ? nullptr : dialog_data<Viewer>(viewer);
    return v ? v->layout : ViewerLayout{};
}

}  // namespace lyro
