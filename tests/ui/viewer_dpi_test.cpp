// The song viewer on screens of more dots per inch: started by with_dpi.sh
// with Wine's screen at 96, 144 and 288 dpi, the test finds the text, its
// line spacing and its top edge grown by dpi / 96, as the font and as
// drawn on the screen, and the largest text still reaching the song's
// last line. Dialogs scale by themselves through their dialog units; the
// viewer's sizes are pixels and must be scaled by the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ui/viewer_fixture.h"
#include "ui/gdi_handles.h"
#include "ui/viewer_paint.h"
#include "view/song_view.h"

namespace lyro::test {
namespace {

constexpr int kSongLines = 60;

int expected_dpi() {
    const char* dpi = std::getenv("LYRO_EXPECT_DPI");
    return dpi != nullptr ? std::atoi(dpi) : kTableDpi;
}

// The sample songbook with a song of lines of capitals (no descenders: each
// drawn line is one run of dark rows).
std::string songbook_with_tall_song() {
    std::string book = sample_songbook();
    std::string song = "::::: TALL SONG ::::: KEY=C\r\n";
    for (int i = 1; i < kSongLines; ++i) song += "HHHHHHHH\r\n";
    book.insert(book.find("#*#*#"), song);
    return book;
}

// The rows of `area` (client coordinates) at which a run of rows holding
// text begins: where each drawn line starts.
std::vector<int> line_tops(HWND viewer, RECT area) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const WindowDc window(viewer);
    const CreatedDc memory(CreateCompatibleDC(window.get()));
    HBITMAP bitmap = CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<int> tops;
    if (bitmap == nullptr || bits == nullptr) return tops;
    {
        const Selection selected(memory.get(), bitmap);
        BitBlt(memory.get(), 0, 0, w, h, window.get(), area.left, area.top, SRCCOPY);
        GdiFlush();
        bool in_text = false;
        const auto* pixel = static_cast<const unsigned char*>(bits);
        for (int y = 0; y < h; ++y) {
            bool dark = false;
            for (int x = 0; x < w; ++x, pixel += 4) {
                if (pixel[0] + pixel[1] + pixel[2] < 200) dark = true;
            }
            if (dark && !in_text) tops.push_back(area.top + y);
            in_text = dark;
        }
    }
    DeleteObject(bitmap);
    return tops;
}

// The viewer on the tall song, opened from the library dialog; nullptr
// when either does not open.
HWND tall_song_viewer(Driver& d) {
    HWND library = d.library();
    return library ? review_in_viewer(d, library, "TALL SONG", "TALL SONG") : nullptr;
}

class ViewerDpi : public ::testing::Test {
protected:
    void SetUp() override { write_file(run.state.files.songbook(), songbook_with_tall_song()); }
    DeskRun run;
};

TEST_F(ViewerDpi, TextAndLineSpacingGrowWithTheScreen) {
    run.run([](Driver& d) {
        HWND viewer = tall_song_viewer(d);
        ASSERT_NE(viewer, nullptr);
        const int dpi = expected_dpi();
        ASSERT_EQ(window_dpi(viewer), dpi) << "the screen is not at the resolution asked for";
        painted(viewer);

        // The table's 14 by 11 pixels at level 2, grown by dpi / 96.
        const ViewerLayout layout = layout_of(viewer);
        EXPECT_EQ(layout.text.height, scaled_to_dpi(14, dpi));
        EXPECT_EQ(layout.text.width, scaled_to_dpi(11, dpi));

        // The font that draws it has that height and width, in a fixed pitch.
        const GdiFont font(create_display_font(layout.text, d.state().viewer.font_choice));
        const WindowDc dc(viewer);
        const Selection selected(dc.get(), font.get());
        TEXTMETRICA metrics{};
        ASSERT_TRUE(GetTextMetricsA(dc.get(), &metrics));
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc.get(), LF_FACESIZE, face);
        // A scalable face is rasterised at a whole number of pixels to the
        // em: its cell may come out a pixel short of the height asked for.
        EXPECT_NEAR(metrics.tmHeight, layout.text.height, 1) << face;
        EXPECT_NEAR(metrics.tmAveCharWidth, layout.text.width, 1) << face;
        EXPECT_EQ(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << face << " has a proportional pitch";

        // On the screen: line 1 and those after it, one line height apart,
        // the first one line height below the grown top edge.
        const RECT area{0, 0, 300, line_y(8, 0, layout.text.height, dpi)};
        const std::vector<int> tops = line_tops(viewer, area);
        ASSERT_GE(tops.size(), 6u);
        for (std::size_t i = tops.size() - 5; i + 1 < tops.size(); ++i) {
            EXPECT_EQ(tops[i + 1] - tops[i], layout.text.height) << "line " << i;
        }
    });
}

TEST_F(ViewerDpi, TheLargestTextStillReachesTheLastLine) {
    run.run([](Driver& d) {
        HWND viewer = tall_song_viewer(d);
        ASSERT_NE(viewer, nullptr);
        const int dpi = expected_dpi();
        for (int i = 0; i < kHighestMagnify; ++i) click(viewer, IDC_V_MAGNIFY_UP);
        painted(viewer);
        const ViewerLayout layout = layout_of(viewer);
        EXPECT_EQ(layout.text.height, scaled_to_dpi(20, dpi));
        // Pg Down brings the last line wholly into the window.
        click(viewer, IDC_V_PAGE_DOWN);
        const int top = layout_of(viewer).top_line;
        EXPECT_EQ(scroll_max(viewer), top);
        const int last_bottom = line_y(kSongLines - 1, top, layout.text.height, dpi) + layout.text.height;
        EXPECT_LE(last_bottom, client_height(viewer));
        EXPECT_GT(last_bottom, 0);
    });
}

}  // namespace
}  // namespace lyro::test
