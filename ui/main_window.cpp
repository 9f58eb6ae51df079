// The main window's class, procedure and message loop; see main_window.h.
#include "ui/main_window.h"

#include <commctrl.h>

#include "remote/song_request.h"
#include "ui/desk_texts.h"
#include "ui/editor_dialog.h"
#include "ui/library_dialog.h"
#include "ui/main_commands.h"
#include "ui/main_start.h"
#include "ui/profile_keys.h"
#include "ui/resource.h"
#include "ui/routing.h"
#include "ui/viewer_dialog.h"

namespace lyro {

namespace {

DeskState* window_state(HWND window) {
    return reinterpret_cast<DeskState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// One library dialog at a time: a second one would take over the handle
// that the polling and the catalog write to.
void open_library(DeskState& state) {
    if (state.windows.library == nullptr) run_library_dialog(state);
}

void open_viewer(DeskState& state) {
    if (show_in_open_viewer(state)) return;
    run_viewer_dialog(state);
    rebuild_catalog(state);
}

void open_editor(DeskState& state) {
    if (state.windows.editor == nullptr) run_editor_dialog(state);
}

void on_timer(DeskState& state) {
    ProfileRequestKey key(*state.profile);
    HWND library = state.windows.library;
    if (poll_song_request(state.requests, key, library != nullptr)) {
        PostMessageA(library, WM_COMMAND, IDC_REVIEW, 0);
    }
}

// Switches between the fixed names and the names of the song's key, keeps
// the choice in the profile, and shows it at once where a song is shown.
void toggle_spelling(DeskState& state, HWND window) {
    state.viewer.spelling =
        state.viewer.spelling == Spelling::by_key ? Spelling::fixed : Spelling::by_key;
    write_spelling(*state.profile, state.viewer.spelling);
    show_spelling(state, window);
    if (state.windows.viewer != nullptr) InvalidateRect(state.windows.viewer, nullptr, TRUE);
}

void on_command(DeskState& state, HWND window, int id) {
    switch (id) {
        case IDM_SONGLIST: PostMessageA(window, WM_COMMAND, CMD_OPEN_LIBRARY, 0); break;
        case IDM_QUIT: DestroyWindow(window); break;
        case IDM_VERSION: show_version(window); break;
        case IDM_SETUP: show_setup(window); break;
        case CMD_OPEN_VIEWER: open_viewer(state); break;
        case CMD_OPEN_LIBRARY: open_library(state); break;
        case CMD_OPEN_EDITOR: open_editor(state); break;
        case IDM_GET_IP: show_ip_addresses(window); break;
        case IDM_FOLDER: show_folder_location(window); break;
        case IDM_VERA_FONT: state.viewer.font_choice = 1; break;
        case IDM_LUCIDA_FONT: state.viewer.font_choice = 0; break;
        case IDM_ABOUT: show_about(window); break;
        case IDM_SPELL_BY_KEY: toggle_spelling(state, window); break;
        default: break;
    }
}

LRESULT CALLBACK main_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    DeskState* state = window_state(window);
    if (state == nullptr) return DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
        case WM_CREATE: return start_main_window(*state, window) ? 0 : -1;
        case WM_COMMAND: on_command(*state, window, LOWORD(wparam)); return 0;
        case WM_OPEN_EDITOR: open_editor(*state); return 0;
        case WM_OPEN_LIBRARY: open_library(*state); return 0;
        case WM_OPEN_VIEWER: open_viewer(*state); return 0;
        case WM_TIMER: on_timer(*state); return 0;
        case WM_ENDSESSION:
            // Windows ends without destroying the window: the server must
            // still be told.
            if (wparam) run_exit_steps(*state);
            return 0;
        case WM_DESTROY: run_exit_steps(*state); return 0;
        default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool register_main_class(HINSTANCE instance) {
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, texts::kMainClass, &wc)) return true;
    wc.style = 0;
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "lookup_song");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1);
    wc.lpszMenuName = "MAINMENU";
    wc.lpszClassName = texts::kMainClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

void run_exit_steps(DeskState& state) {
    if (state.exited) return;
    state.exited = true;
    announce_exit(*state.profile);
    if (state.windows.main) KillTimer(state.windows.main, POLL_TIMER_ID);
    PostQuitMessage(0);
}

int run_songdesk(DeskState& state, HINSTANCE instance, int show) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;  // 8
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    LoadLibraryA("riched20.dll");

    state.windows.instance = instance;
    if (!register_main_class(instance)) return 1;
    HWND window = CreateWindowExA(0, texts::kMainClass, texts::kMainTitle, WS_OVERLAPPEDWINDOW,
                                  1, 1, 1023, 767, nullptr, nullptr, instance, &state);
    if (window == nullptr) {
        // Start-up ended the program (the songbook offer refused, or the
        // songbook could not be made). Not every system sends WM_DESTROY to
        // a window whose creation failed: run the exit steps here (once).
        run_exit_steps(state);
        MSG drain;
        while (PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) {
        }
        return 0;
    }
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(window)) DestroyWindow(window);
    state.windows.main = nullptr;
    return static_cast<int>(msg.wParam);
}

}  // namespace lyro
