// Holds one of songdesk's windows open for the README's pictures: run as
// `viewer_snapshot FOLDER [viewer|library|editor]`, it works in FOLDER (its
// songbook and remote page live there) and shows the song viewer on
// AMAZING GRACE two half steps up (the default), the library dialog with
// its performance list, or the song editor on AMAZING GRACE. It writes
// FOLDER\ready holding the window's screen rectangle ("left top width
// height"), and closes once FOLDER\done appears (or after two minutes).
// docs/make_desk_pictures.sh drives it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/ui/viewer_fixture.h"

namespace {

constexpr const char* kSongbook =
    ";songbook for the README pictures\r\n"
    "::::: AMAZING GRACE ::::: KEY=G\r\n"
    " \r\n"
    "G               G7        C        G<\r\n"
    "Amazing grace, how sweet the sound\r\n"
    "G                      D<\r\n"
    "That saved a wretch like me\r\n"
    "G             G7         C       G<\r\n"
    "I once was lost, but now am found\r\n"
    "Em        D          G<\r\n"
    "Was blind, but now I see\r\n"
    " \r\n"
    "G                 G7       C         G<\r\n"
    "'Twas grace that taught my heart to fear\r\n"
    "G                    D<\r\n"
    "And grace my fears relieved\r\n"
    "G               G7         C        G<\r\n"
    "How precious did that grace appear\r\n"
    "Em        D         G<\r\n"
    "The hour I first believed\r\n"
    "::::: BLESSED ASSURANCE ::::: KEY=D\r\n"
    "D       A<\r\n"
    "Blessed assurance\r\n"
    "#*#*#\r\n";

constexpr int kHoldMs = 120000;

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// The window to be pictured, opened from the library dialog.
HWND open_window(lyro::test::Driver& d, HWND library, const std::string& what) {
    if (what == "library") return library;
    if (what == "editor") {
        d.choose(library, "AMAZING GRACE");
        d.press(library, IDC_EDIT_SONG);
        HWND editor = d.wait_for("Enter Song with < mark after last chord on each line");
        if (editor != nullptr) {
            d.wait_until([&] { return d.text(editor, IDC_E_TITLE) != "NONAME"; });
        }
        return editor;
    }
    HWND viewer = lyro::test::review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
    if (viewer == nullptr) return nullptr;
    lyro::test::click(viewer, IDC_V_NEXT_KEY);
    lyro::test::click(viewer, IDC_V_NEXT_KEY);
    lyro::test::click(viewer, IDC_V_MAGNIFY_UP);
    lyro::test::click(viewer, IDC_V_MAGNIFY_UP);
    lyro::test::painted(viewer);
    return viewer;
}

void write_rect(const std::string& path, HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    lyro::test::write_file(path, std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                                     std::to_string(r.right - r.left) + " " +
                                     std::to_string(r.bottom - r.top) + "\n");
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: viewer_snapshot FOLDER [viewer|library|editor]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string what = argc == 3 ? argv[2] : "viewer";
    lyro::test::DeskRun run;
    run.state.files.dir = folder;
    lyro::test::write_file(run.state.files.songbook(), kSongbook);
    lyro::test::write_file(run.state.files.songlist(),
                           ";SONG LIST FILE\r\nSONG01=AMAZING GRACE\r\nKEYCHANGE01=2\r\n"
                           "SONG02=BLESSED ASSURANCE\r\nKEYCHANGE02=0\r\n;END");
    bool shown = false;
    run.run([&](lyro::test::Driver& d) {
        HWND library = d.library();
        if (library == nullptr) return;
        d.wait_until([&] { return d.list_items(library).size() == 2; });
        HWND window = open_window(d, library, what);
        if (window == nullptr) return;
        Sleep(500);
        write_rect(folder + "\\ready", window);
        shown = d.wait_until([&] { return exists(folder + "\\done"); }, kHoldMs);
        if (window != library) lyro::test::click(window, IDCANCEL);
    });
    return shown ? 0 : 1;
}
