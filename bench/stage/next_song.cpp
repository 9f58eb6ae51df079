// next_song: drives songdesk, started by someone else, from outside, for the
// stage view's end-to-end measurement (bench/stage/end_to_end.sh).
//
//   next_song run              presses Run Performance in the library
//                              dialog and waits for the viewer; prints
//                              "VIEWER <title shown>"
//   next_song step COUNT GAP   posts Next Song to the viewer COUNT times,
//                              GAP ms apart; before each post prints
//                              "STEP <n> <ms since 1970>", and after the
//                              gap "TITLE <n> <title shown>"
//   next_song close            returns from the viewer and exits songdesk,
//                              answering its question Yes
//
// Exits 0 when done, 1 when a window did not appear or go in time.
// The wall clock is the system's precise one, the clock that the browser's
// Date.now() reads on the same machine.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/resource.h"

namespace {

constexpr const char* kLibraryCaption = "List of Songs Available";
constexpr const char* kQuestionCaption = "Songbook";

double wall_ms() {
    FILETIME ft{};
    GetSystemTimePreciseAsFileTime(&ft);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    // 100 ns ticks since 1601; 1970 came 11644473600 s later.
    return static_cast<double>(ticks.QuadPart - 116444736000000000ULL) / 10000.0;
}

HWND visible_dialog(const char* caption) {
    HWND w = FindWindowA("#32770", caption);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// The viewer has no caption: it is the dialog holding the Next Song button
// and the title label.
BOOL CALLBACK find_viewer(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(window) &&
        GetDlgItem(window, IDC_V_NEXT_SONG) && GetDlgItem(window, IDC_V_TITLE) &&
        GetDlgItem(window, IDC_V_PAGE_DOWN)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND viewer() {
    HWND found = nullptr;
    EnumWindows(find_viewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

template <typename Find>
HWND wait_for(Find find, DWORD ms) {
    for (DWORD waited = 0;; waited += 20) {
        if (HWND w = find()) return w;
        if (waited >= ms) return nullptr;
        Sleep(20);
    }
}

bool wait_gone(HWND window, DWORD ms) {
    for (DWORD waited = 0; IsWindow(window) && IsWindowVisible(window); waited += 20) {
        if (waited >= ms) return false;
        Sleep(20);
    }
    return true;
}

// A control's text, asked of songdesk's own thread, which answers between
// its other messages.
std::string text_of(HWND dialog, int id) {
    char text[256] = {};
    DWORD_PTR result = 0;
    HWND control = GetDlgItem(dialog, id);
    if (!control || !SendMessageTimeoutA(control, WM_GETTEXT, sizeof text,
                                         reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                         &result))
        return "?";
    return text;
}

int run_performance() {
    HWND library = wait_for([] { return visible_dialog(kLibraryCaption); }, 60000);
    if (!library) {
        std::puts("songdesk's library dialog did not appear");
        return 1;
    }
    // The list is loaded after the dialog shows: Run Performance needs it.
    HWND list = GetDlgItem(library, IDC_PERF_LIST);
    for (int waited = 0; waited < 10000 && SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0; waited += 20)
        Sleep(20);
    PostMessageA(library, WM_COMMAND, IDC_RUN, 0);
    HWND shown = wait_for(viewer, 10000);
    if (!shown) {
        std::puts("Run Performance did not open the viewer");
        return 1;
    }
    // The viewer fills itself after it opens; until then its label shows
    // the dialog's placeholder.
    std::string title = text_of(shown, IDC_V_TITLE);
    for (int waited = 0; waited < 10000 && (title == "title" || title == "?"); waited += 20) {
        Sleep(20);
        title = text_of(shown, IDC_V_TITLE);
    }
    std::printf("VIEWER %s\n", title.c_str());
    return 0;
}

int step(int count, int gap_ms) {
    HWND shown = viewer();
    if (!shown) {
        std::puts("no viewer to step");
        return 1;
    }
    for (int n = 1; n <= count; ++n) {
        std::printf("STEP %d %.3f\n", n, wall_ms());
        std::fflush(stdout);
        PostMessageW(shown, WM_COMMAND, IDC_V_NEXT_SONG, 0);
        Sleep(static_cast<DWORD>(gap_ms));
        std::printf("TITLE %d %s\n", n, text_of(shown, IDC_V_TITLE).c_str());
        std::fflush(stdout);
    }
    return 0;
}

int close_songdesk() {
    if (HWND shown = viewer()) {
        PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
        if (!wait_gone(shown, 10000)) {
            std::puts("the viewer did not close");
            return 1;
        }
    }
    HWND library = wait_for([] { return visible_dialog(kLibraryCaption); }, 10000);
    if (!library) {
        std::puts("songdesk's library dialog is not there to exit from");
        return 1;
    }
    PostMessageA(library, WM_COMMAND, IDC_EXIT_PROGRAM, 0);
    // Asked only when the list changed: answered Yes, exit.
    if (HWND question = wait_for([] { return visible_dialog(kQuestionCaption); }, 1500))
        PostMessageA(question, WM_COMMAND, IDYES, 0);
    if (!wait_gone(library, 20000)) {
        std::puts("songdesk did not exit");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "run") return run_performance();
    if (mode == "step" && argc > 3) return step(std::atoi(argv[2]), std::atoi(argv[3]));
    if (mode == "close") return close_songdesk();
    std::puts("usage: next_song run | step COUNT GAP_MS | close");
    return 2;
}
