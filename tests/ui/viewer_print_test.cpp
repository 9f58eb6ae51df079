// Print from the song viewer: the print dialog opens above the viewer, and
// cancelling it leaves the viewer as it was. (Where no printer is
// installed, the system says so in a box of the same caption instead; that
// is cancelled the same way. The printout itself is tested on the print
// surfaces.)
#include <gtest/gtest.h>

#include "tests/ui/viewer_fixture.h"

namespace lyro::test {
namespace {

// Whether `window` is owned, directly or through other windows, by `owner`.
bool owned_by(HWND window, HWND owner) {
    for (HWND w = GetWindow(window, GW_OWNER); w != nullptr; w = GetWindow(w, GW_OWNER)) {
        if (w == owner) return true;
    }
    return false;
}

// Looks for windows of one thread that the viewer owns.
struct OwnedSearch {
    HWND viewer;
    bool found;
};

BOOL CALLBACK find_owned(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<OwnedSearch*>(param);
    search.found = search.found || owned_by(window, search.viewer);
    return TRUE;
}

// Whether any window of the viewer's thread is owned by the viewer (the
// print dialog, shown or not, and what it shows).
bool holds_owned_windows(HWND viewer) {
    OwnedSearch search{viewer, false};
    EnumThreadWindows(GetWindowThreadProcessId(viewer, nullptr), find_owned,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the print dialog above the viewer, cancels it, and waits until
// printing has returned to the viewer.
void cancel_print_dialog(int line, Driver& d, HWND viewer) {
    HWND dialog = d.wait_for("Print");
    ASSERT_NE(dialog, nullptr) << "called from line " << line;
    EXPECT_TRUE(owned_by(dialog, viewer)) << "called from line " << line;
    d.answer(dialog, IDCANCEL);
    EXPECT_TRUE(d.wait_until([&] { return !holds_owned_windows(viewer); }))
        << "called from line " << line;
}

TEST(ViewerPrint, CancellingThePrintDialogLeavesTheViewerAsItWas) {
    DeskRun run;
    write_file(run.state.files.songbook(), sample_songbook());
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        click(viewer, IDC_V_NEXT_KEY);
        click(viewer, IDC_V_PAGE_DOWN);

        d.press(viewer, IDC_V_PRINT);
        cancel_print_dialog(__LINE__, d, viewer);
        type_char(viewer, '*');
        cancel_print_dialog(__LINE__, d, viewer);

        // The viewer answers again, unchanged.
        EXPECT_EQ(layout_of(viewer).top_line, 21);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "1");
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "AMAZING GRACE");
        EXPECT_EQ(d.state().windows.viewer, viewer);
        click(viewer, IDCANCEL);
        EXPECT_TRUE(d.wait_gone(viewer));
    });
}

}  // namespace
}  // namespace lyro::test
