// The editor's boxes on the real controls; see editor_boxes.h.
#include "ui/editor_boxes.h"

#include "library/current_song.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro {

namespace {

// As much as an edit control can hold: a song is never cut by its box.
constexpr WPARAM kNoTextLimit = 0x7FFFFFFE;
// A key name is short; the header keeps twelve characters of it.
constexpr WPARAM kEditorKeyMax = 12;

}  // namespace

WinEditorBoxes::WinEditorBoxes(HWND editor)
    : text_(control_text(GetDlgItem(editor, IDC_E_TITLE)),
            control_text(GetDlgItem(editor, IDC_E_TEXT)),
            control_text(GetDlgItem(editor, IDC_E_KEY))) {}

void set_editor_limits(HWND editor) {
    SendDlgItemMessageA(editor, IDC_E_TEXT, EM_SETLIMITTEXT, kNoTextLimit, 0);
    // A save keeps kTitleMax characters of the title: the box takes no more,
    // so that what the user sees is what the songbook gets.
    SendDlgItemMessageA(editor, IDC_E_TITLE, EM_SETLIMITTEXT, kTitleMax, 0);
    SendDlgItemMessageA(editor, IDC_E_KEY, EM_SETLIMITTEXT, kEditorKeyMax, 0);
}

void show_editor_title(HWND editor, const std::string& title) {
    SetDlgItemTextA(editor, IDC_E_TITLE, title.c_str());
}

void show_editor_key(HWND editor, const std::string& key) {
    SetDlgItemTextA(editor, IDC_E_KEY, key.c_str());
}

void show_editor_text(HWND editor, const std::string& text) {
    SetDlgItemTextA(editor, IDC_E_TEXT, text.c_str());
}

}  // namespace lyro
