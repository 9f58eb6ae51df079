// The song viewer's paging, scrolling and magnifying on the real dialog,
// with what it draws read back from the screen.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/viewer_fixture.h"
#include "view/song_view.h"

namespace lyro::test {
namespace {

constexpr int kLongSongLines = 120;

// The sample songbook with a song far longer than one screen; its last
// line says so.
std::string songbook_with_long_song() {
    std::string book = sample_songbook();
    std::string song = "::::: LONG SONG ::::: KEY=C\r\n";
    for (int i = 1; i < kLongSongLines; ++i) song += "C<\r\nline " + std::to_string(i) + "\r\n";
    song += "THE LAST LINE\r\n";
    book.insert(book.find("#*#*#"), song);
    return book;
}

class ViewerPaging : public ::testing::Test {
protected:
    void SetUp() override { write_file(run.state.files.songbook(), songbook_with_long_song()); }
    DeskRun run;
};

// The scroll request and the top line and thumb that follow; reports the
// caller's line.
void scroll_and_expect(int line, HWND viewer, int code, int thumb, int top, int thumb_after) {
    scroll(viewer, code, thumb);
    EXPECT_EQ(layout_of(viewer).top_line, top) << "called from line " << line;
    EXPECT_EQ(GetScrollPos(viewer, SB_VERT), thumb_after) << "called from line " << line;
}

TEST_F(ViewerPaging, PgDownAndPgUpOnASongThatFits) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(scroll_max(viewer), 21);
        painted(viewer);
        EXPECT_GT(dark_pixels(viewer, text_area(viewer)), 0);

        click(viewer, IDC_V_PAGE_DOWN);
        EXPECT_EQ(layout_of(viewer).top_line, 21);
        painted(viewer);
        // Four lines from line 21 on: nothing left in view.
        EXPECT_EQ(dark_pixels(viewer, text_area(viewer)), 0);
        click(viewer, IDC_V_PAGE_DOWN);
        EXPECT_EQ(layout_of(viewer).top_line, 21);

        click(viewer, IDC_V_PAGE_UP);
        EXPECT_EQ(layout_of(viewer).top_line, 0);
        painted(viewer);
        EXPECT_GT(dark_pixels(viewer, text_area(viewer)), 0);
        // Neither button moves the thumb.
        EXPECT_EQ(GetScrollPos(viewer, SB_VERT), 0);
        EXPECT_EQ(scroll_max(viewer), 21);
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerPaging, EveryScrollRequestCode) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        painted(viewer);
        const int page = client_height(viewer) / layout_of(viewer).text.height;
        ASSERT_GT(page, 2);

        scroll_and_expect(__LINE__, viewer, SB_LINEDOWN, 0, 1, 1);
        scroll_and_expect(__LINE__, viewer, SB_THUMBTRACK, 15, 15, 15);
        scroll_and_expect(__LINE__, viewer, SB_THUMBPOSITION, 3, 15, 15);
        scroll_and_expect(__LINE__, viewer, SB_ENDSCROLL, 0, 15, 15);
        scroll_and_expect(__LINE__, viewer, SB_PAGEDOWN, 0, 21, 21);
        scroll_and_expect(__LINE__, viewer, SB_LINEDOWN, 0, 21, 21);
        scroll_and_expect(__LINE__, viewer, SB_PAGEUP, 0, std::max(0, 21 - page + 1),
                          std::max(0, 21 - page + 1));
        scroll_and_expect(__LINE__, viewer, SB_LINEUP, 0, 0, 0);
        scroll_and_expect(__LINE__, viewer, SB_LINEUP, 0, 0, 0);
        scroll_and_expect(__LINE__, viewer, SB_THUMBTRACK, 40, 21, 21);

        // After Pg Down has left the thumb behind, one line up still shows
        // the text one line lower although the thumb is already there.
        scroll_and_expect(__LINE__, viewer, SB_THUMBTRACK, 20, 20, 20);
        click(viewer, IDC_V_PAGE_DOWN);
        EXPECT_EQ(GetScrollPos(viewer, SB_VERT), 20);
        painted(viewer);
        EXPECT_TRUE(repainted_after(d, viewer, [&] { scroll(viewer, SB_LINEUP); }));
        EXPECT_EQ(layout_of(viewer).top_line, 20);

        // A request that moves nothing redraws nothing.
        painted(viewer);
        DeleteFileA(d.state().files.page().c_str());
        scroll(viewer, SB_THUMBPOSITION, 5);
        painted(viewer);
        EXPECT_FALSE(file_exists(d.state().files.page()));
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerPaging, MagnifyStopsAtBothEndsButStillRepaints) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "AMAZING GRACE", "AMAZING GRACE");
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(d.state().viewer.magnify_level, 2);
        for (int i = 0; i < 4; ++i) click(viewer, IDC_V_MAGNIFY_UP);
        EXPECT_EQ(d.state().viewer.magnify_level, 6);
        painted(viewer);
        EXPECT_EQ(layout_of(viewer).text.height, 20);
        EXPECT_EQ(layout_of(viewer).text.width, 15);
        EXPECT_TRUE(repainted_after(d, viewer, [&] { click(viewer, IDC_V_MAGNIFY_UP); }));
        EXPECT_EQ(d.state().viewer.magnify_level, 6);

        for (int i = 0; i < 6; ++i) click(viewer, IDC_V_MAGNIFY_DOWN);
        EXPECT_EQ(d.state().viewer.magnify_level, 0);
        EXPECT_TRUE(repainted_after(d, viewer, [&] { click(viewer, IDC_V_MAGNIFY_DOWN); }));
        EXPECT_EQ(d.state().viewer.magnify_level, 0);
        EXPECT_EQ(layout_of(viewer).text.height, 12);
        EXPECT_EQ(layout_of(viewer).text.width, 9);

        // The level outlives the viewer.
        click(viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(viewer));
        viewer = review_in_viewer(d, library, "COME THOU FOUNT", "COME THOU FOUNT");
        ASSERT_NE(viewer, nullptr);
        painted(viewer);
        EXPECT_EQ(layout_of(viewer).text.height, 12);
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerPaging, ALongSongCanBeReadToItsLastLine) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "LONG SONG", "LONG SONG");
        ASSERT_NE(viewer, nullptr);
        const std::size_t count = d.state().song.line_count;
        ASSERT_EQ(count, static_cast<std::size_t>(2 * kLongSongLines));
        const int height = client_height(viewer);
        const int limit = scroll_max(viewer);
        EXPECT_GT(limit, 21);

        click(viewer, IDC_V_PAGE_DOWN);
        EXPECT_EQ(layout_of(viewer).top_line, limit);
        painted(viewer);
        const int last_top = line_y(count - 1, limit, 14);
        EXPECT_LE(last_top + 14, height);
        EXPECT_GT(last_top + 28, height);  // no more scrolled than needed
        EXPECT_GT(dark_pixels(viewer, RECT{0, last_top, 300, last_top + 14}), 0);
        EXPECT_NE(remote_page(d).find("THE LAST LINE"), std::string::npos);

        // The scroll bar reaches the same line and no further.
        scroll_and_expect(__LINE__, viewer, SB_THUMBTRACK, limit + 10, limit, limit);
        scroll_and_expect(__LINE__, viewer, SB_LINEDOWN, 0, limit, limit);

        // Larger text needs a larger top line for the same last line.
        click(viewer, IDC_V_MAGNIFY_UP);
        EXPECT_GT(scroll_max(viewer), limit);
        click(viewer, IDC_V_MAGNIFY_DOWN);
        click(viewer, IDC_V_MAGNIFY_DOWN);
        const int smaller = scroll_max(viewer);
        EXPECT_LT(smaller, limit);
        EXPECT_EQ(layout_of(viewer).top_line, smaller);
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerPaging, SteppingFromALongSongToAShortOneKeepsTheTextInView) {
    write_file(run.state.files.songlist(),
               ";SONG LIST FILE\r\nSONG01=LONG SONG\r\nKEYCHANGE01=0\r\n"
               "SONG02=AMAZING GRACE\r\nKEYCHANGE02=0\r\n;END");
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 2; }));
        d.press(library, IDC_RUN);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        HWND viewer = d.state().windows.viewer;
        ASSERT_TRUE(d.wait_until([&] { return d.text(viewer, IDC_V_TITLE) == "LONG SONG"; }));
        click(viewer, IDC_V_PAGE_DOWN);
        EXPECT_GT(layout_of(viewer).top_line, 21);
        click(viewer, IDC_V_NEXT_SONG);
        EXPECT_EQ(d.text(viewer, IDC_V_TITLE), "AMAZING GRACE");
        EXPECT_EQ(layout_of(viewer).top_line, 21);
        EXPECT_EQ(scroll_max(viewer), 21);
        click(viewer, IDCANCEL);
    });
}

}  // namespace
}  // namespace lyro::test
