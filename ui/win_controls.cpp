// Win32 implementations of the control interfaces; see win_controls.h.
#include "ui/win_controls.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "library/songbook.h"

namespace lyro {

std::string current_folder() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::string folder(needed, '\0');
    const DWORD got = GetCurrentDirectoryA(needed, folder.data());
    folder.resize(got < needed ? got : 0);
    return folder;
}

std::string control_text(HWND control) {
    if (control == nullptr) return {};
    // The length reported first can fall short of the text (a control of
    // another thread, text converted between code pages): read into a
    // buffer that grows until the text fits with room to spare.
    const int reported = GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<std::size_t>(std::max(reported, 0)) + 256);
    for (;;) {
        const int size = static_cast<int>(buffer.size());
        const int got = GetWindowTextA(control, buffer.data(), size);
        if (got < size - 1) {
            return std::string(buffer.data(), static_cast<std::size_t>(std::max(got, 0)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string control_text(HWND control, std::size_t max_chars) {
    std::string text = control_text(control);
    if (text.size() > max_chars) text.resize(max_chars);
    return text;
}

WinSongBox::~WinSongBox() { finish(); }

void WinSongBox::reset() {
    if (!combo_) return;
    if (!drawing_stopped_) {
        SendMessageA(combo_, WM_SETREDRAW, FALSE, 0);
        drawing_stopped_ = true;
    }
    SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
}

void WinSongBox::add(std::string_view title) {
    if (!combo_) return;
    const std::string text(title);
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void WinSongBox::finish() {
    if (!combo_ || !drawing_stopped_) return;
    drawing_stopped_ = false;
    SendMessageA(combo_, WM_SETREDRAW, TRUE, 0);
    // Drawn at once, not when the message loop comes to it: the box is full
    // on screen when the fill returns.
    RedrawWindow(combo_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void WinTextLabel::set_text(std::string_view text) {
    if (!label_) return;
    const std::string copy(text);
    SetWindowTextA(label_, copy.c_str());
}

void WinListBox::add(std::string_view text) {
    if (!list_) return;
    const std::string copy(text);
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void WinListBox::reset() {
    if (list_) SendMessageA(list_, LB_RESETCONTENT, 0, 0);
}

int WinListBox::count() const {
    if (!list_) return 0;
    const LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

std::string WinListBox::text(int index) const {
    if (!list_) return {};
    const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    // LB_GETTEXT takes no buffer size. The item can change between the two
    // messages when another thread edits the list (a test's driver reads
    // while the dialog moves entries), so the buffer also holds the longest
    // item that the songbook and the songlist can put in the box.
    std::vector<char> buffer(std::max(static_cast<std::size_t>(length), kBookLineMax) + 1, '\0');
    const LRESULT got = SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(buffer.data()));
    if (got <= 0) return {};
    return std::string(buffer.data(), std::strlen(buffer.data()));
}

int WinListBox::selection() const {
    if (!list_) return -1;
    const LRESULT s = SendMessageA(list_, LB_GETCURSEL, 0, 0);
    return s == LB_ERR ? -1 : static_cast<int>(s);
}

void WinListBox::select(int index) {
    if (list_) SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool MessageBoxPrompter::ask(std::string_view text, std::string_view caption) {
    return ask_yes_no(owner_, text, caption);
}

void MessageBoxPrompter::notify(std::string_view text, std::string_view caption) {
    tell(owner_, text, caption);
}

void WinBeeper::beep() { MessageBeep(0xFFFFFFFF); }

void tell(HWND owner, std::string_view text, std::string_view caption, UINT extra_style) {
    const std::string t(text);
    const std::string c(caption);
    MessageBoxA(owner, t.c_str(), c.c_str(), MB_OK | extra_style);
}

bool ask_yes_no(HWND owner, std::string_view text, std::string_view caption, UINT extra_style) {
    const std::string t(text);
    const std::string c(caption);
    return MessageBoxA(owner, t.c_str(), c.c_str(), MB_YESNO | extra_style) == IDYES;
}

}  // namespace lyro
