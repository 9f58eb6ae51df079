// Helpers for the song viewer's tests: opening the viewer through the real
// library dialog, pressing its buttons and keys, and looking at what it
// drew and published.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"
#include "ui/viewer_dialog.h"

namespace lyro::test {

// Reviews `title` from the library dialog; the viewer once its title label
// shows `shown`, or nullptr.
inline HWND review_in_viewer(Driver& d, HWND library, const char* title, const char* shown) {
    d.choose(library, title);
    d.press(library, IDC_REVIEW);
    if (!d.wait_until([&] { return d.state().windows.viewer != nullptr; })) return nullptr;
    HWND viewer = d.state().windows.viewer;
    if (!d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == shown; })) return nullptr;
    return viewer;
}

// Presses a viewer button and returns once the command has been handled
// (the repaint that it asks for may still be pending: see painted()).
inline void click(HWND viewer, int id) {
    SendMessageA(viewer, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// Runs the pending repaint now, on the viewer's own thread.
inline void painted(HWND viewer) { UpdateWindow(viewer); }

// The viewer's layout, read once everything sent to it has been handled.
inline ViewerLayout layout_of(HWND viewer) {
    SendMessageA(viewer, WM_NULL, 0, 0);
    return viewer_layout(viewer);
}

// Sends a scroll-bar request to the viewer, as the scroll bar does.
inline void scroll(HWND viewer, int code, int thumb = 0) {
    SendMessageA(viewer, WM_VSCROLL, MAKEWPARAM(code, thumb), 0);
}

inline int scroll_max(HWND viewer) {
    int low = -1;
    int high = -1;
    GetScrollRange(viewer, SB_VERT, &low, &high);
    return high;
}

inline int client_height(HWND viewer) {
    RECT r{};
    GetClientRect(viewer, &r);
    return r.bottom;
}

// Types one character as the keyboard would, into the focused window of
// the foreground dialog.
inline void type_char(HWND dialog, char c) {
    SetForegroundWindow(dialog);
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
        key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// Dark pixels (text) that the viewer shows in a rectangle of its client
// area, as read back from the screen.
inline int dark_pixels(HWND viewer, RECT area) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window_dc = GetDC(viewer);
    HDC memory = CreateCompatibleDC(window_dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, window_dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    int dark = 0;
    const auto* pixel = static_cast<const unsigned char*>(bits);
    for (int i = 0; bits != nullptr && i < w * h; ++i, pixel += 4) {
        if (pixel[0] + pixel[1] + pixel[2] < 200) ++dark;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(viewer, window_dc);
    return dark;
}

// The text area's left part, below the button row and clear of the
// buttons at the right.
inline RECT text_area(HWND viewer) { return RECT{0, 40, 300, client_height(viewer)}; }

// The remote page as a browser would get it now.
inline std::string remote_page(Driver& d) { return read_file(d.state().files.page()); }

// Waits until the viewer has repainted: the page is written afresh after
// being removed.
inline bool repainted_after(Driver& d, HWND viewer, const std::function<void()>& action) {
    DeleteFileA(d.state().files.page().c_str());
    action();
    painted(viewer);
    return d.wait_until([&] { return file_exists(d.state().files.page()); });
}

}  // namespace lyro::test
