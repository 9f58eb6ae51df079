// The song viewer's key buttons, its steps through a running list, the
// remote page that every repaint rewrites, and the one-key shortcuts, on
// the real dialog.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/viewer_fixture.h"

namespace lyro::test {
namespace {

constexpr const char* kThreeSongList =
    ";SONG LIST FILE\r\nSONG01=COME THOU FOUNT\r\nKEYCHANGE01=2\r\n"
    "SONG02=amazing grace\r\nKEYCHANGE02=-3\r\n"
    "SONG03=BLESSED ASSURANCE\r\nKEYCHANGE03=5\r\n;END";

// The chord line of AMAZING GRACE as stored, and moved up two half steps.
constexpr const char* kChordsInG = "G          C     G ";
constexpr const char* kChordsInA = "A          D     A ";

class ViewerKeys : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songbook(), sample_songbook());
        write_file(run.state.files.songlist(), kThreeSongList);
    }
    DeskRun run;
};

// Presses a button and checks the key label that follows; reports the
// caller's line.
void press_and_expect_key(int line, Driver& d, HWND viewer, int id, const std::string& shown) {
    click(viewer, id);
    EXPECT_EQ(d.text(viewer, IDC_V_STEPS), shown) << "called from line " << line;
}

TEST_F(ViewerKeys, KeyWrapsToZeroAtBothEndsAndTheLabelFollows) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "Amazing Grace", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "0");
        EXPECT_FALSE(d.state().list.changed);

        press_and_expect_key(__LINE__, d, viewer, IDC_V_PREV_KEY, "-1");
        // A key change marks the list changed, in single-song mode too.
        EXPECT_TRUE(d.state().list.changed);
        for (int i = 0; i < 10; ++i) click(viewer, IDC_V_PREV_KEY);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "-11");
        press_and_expect_key(__LINE__, d, viewer, IDC_V_PREV_KEY, "0");
        for (int i = 0; i < 12; ++i) click(viewer, IDC_V_NEXT_KEY);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "12");  // no plus sign
        press_and_expect_key(__LINE__, d, viewer, IDC_V_NEXT_KEY, "0");
        EXPECT_EQ(d.state().position.key_offset, 0);

        // No run to step through: the buttons change nothing.
        click(viewer, IDC_V_NEXT_KEY);
        click(viewer, IDC_V_NEXT_SONG);
        click(viewer, IDC_V_PREV_SONG);
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "AMAZING GRACE");
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "1");
        EXPECT_EQ(d.state().position.list_position, 0);
        // ... and store no key anywhere.
        EXPECT_EQ(entry_at(d.state().list, 0)->key_change, 2);
        EXPECT_EQ(entry_at(d.state().list, 1)->key_change, -3);
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerKeys, EveryRepaintRewritesTheRemotePageWithTheTransposedLines) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        painted(viewer);
        ASSERT_TRUE(d.wait_until([&] {
            return remote_page(d).find(kChordsInG) != std::string::npos;
        }));
        EXPECT_NE(remote_page(d).find("<TITLE>AMAZING GRACE</TITLE>"), std::string::npos);
        EXPECT_NE(remote_page(d).find("Amazing grace, how sweet the sound"), std::string::npos);

        click(viewer, IDC_V_NEXT_KEY);
        click(viewer, IDC_V_NEXT_KEY);
        painted(viewer);
        EXPECT_TRUE(d.wait_until([&] {
            return remote_page(d).find(kChordsInA) != std::string::npos;
        }));
        EXPECT_EQ(remote_page(d).find(kChordsInG), std::string::npos);

        // Any repaint at all, not only one that a button asked for.
        EXPECT_TRUE(repainted_after(d, viewer, [&] { InvalidateRect(viewer, nullptr, TRUE); }));
        EXPECT_NE(remote_page(d).find(kChordsInA), std::string::npos);

        // Closing the viewer turns the page back into the list page.
        click(viewer, IDCANCEL);
        EXPECT_TRUE(d.wait_until([&] {
            return remote_page(d).find("<U>LIST</U>") != std::string::npos;
        }));
    });
}

TEST_F(ViewerKeys, ARunStoresKeyChangesAndStepsKeepingTheTopLine) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 3; }));
        d.press(library, IDC_RUN);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        HWND viewer = d.state().windows.viewer;
        ASSERT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == "COME THOU FOUNT"; }));
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "2");

        click(viewer, IDC_V_NEXT_KEY);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "3");
        EXPECT_EQ(entry_at(d.state().list, 0)->key_change, 3);
        EXPECT_TRUE(d.state().list.changed);

        click(viewer, IDC_V_PAGE_DOWN);
        ASSERT_EQ(layout_of(viewer).top_line, 21);
        // Prev.Song on the first entry loads it again.
        click(viewer, IDC_V_PREV_SONG);
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "COME THOU FOUNT");
        EXPECT_EQ(d.state().position.list_position, 0);

        click(viewer, IDC_V_NEXT_SONG);
        // The entry was written in small letters; the load folds it.
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "AMAZING GRACE");
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "-3");
        EXPECT_EQ(d.state().position.list_position, 1);
        EXPECT_EQ(layout_of(viewer).top_line, 21);
        painted(viewer);
        // -3 from G is E.
        EXPECT_TRUE(d.wait_until([&] {
            return remote_page(d).find("E          A     E ") != std::string::npos;
        }));
        EXPECT_NE(remote_page(d).find("<TITLE>AMAZING GRACE</TITLE>"), std::string::npos);

        click(viewer, IDC_V_PREV_KEY);
        click(viewer, IDC_V_NEXT_SONG);
        click(viewer, IDC_V_NEXT_SONG);  // the last entry: loaded again
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "BLESSED ASSURANCE");
        EXPECT_EQ(d.state().position.list_position, 2);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "5");

        // Back on the first two songs, their changed keys are there again.
        click(viewer, IDC_V_PREV_SONG);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "-4");
        click(viewer, IDC_V_PREV_SONG);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "3");
        EXPECT_EQ(layout_of(viewer).top_line, 21);

        // The repaint takes the key from the entry that is shown.
        entry_at(d.state().list, 0)->key_change = 7;
        EXPECT_TRUE(repainted_after(d, viewer, [&] { InvalidateRect(viewer, nullptr, TRUE); }));
        EXPECT_EQ(d.state().position.key_offset, 7);
        click(viewer, IDCANCEL);
    });
}

// The shortcut of every button but Print, typed as characters.
TEST_F(ViewerKeys, ButtonShortcutsWorkFromTheKeyboard) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        const int level = d.state().viewer.magnify_level;

        type_char(viewer, ')');
        EXPECT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_STEPS) == "1"; }));
        type_char(viewer, '(');
        type_char(viewer, '(');
        EXPECT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_STEPS) == "-1"; }));
        type_char(viewer, '+');
        EXPECT_TRUE(d.wait_until([&] { return d.state().viewer.magnify_level == level + 1; }));
        type_char(viewer, '-');
        type_char(viewer, '-');
        EXPECT_TRUE(d.wait_until([&] { return d.state().viewer.magnify_level == level - 1; }));
        type_char(viewer, '>');
        EXPECT_TRUE(d.wait_until([&] { return layout_of(viewer).top_line == 21; }));
        type_char(viewer, '<');
        EXPECT_TRUE(d.wait_until([&] { return layout_of(viewer).top_line == 0; }));
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "AMAZING GRACE");
        click(viewer, IDCANCEL);
    });
}

// In a run, [ and ] step through the list.
TEST_F(ViewerKeys, BracketsStepThroughARunFromTheKeyboard) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 3; }));
        d.press(library, IDC_RUN);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        HWND viewer = d.state().windows.viewer;
        ASSERT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == "COME THOU FOUNT"; }));
        type_char(viewer, ']');
        EXPECT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == "AMAZING GRACE"; }));
        type_char(viewer, '[');
        EXPECT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == "COME THOU FOUNT"; }));
        click(viewer, IDCANCEL);
    });
}

}  // namespace
}  // namespace lyro::test
