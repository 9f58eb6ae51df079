// The printouts through the real GDI path: the print dialog (taking the
// default printer without showing itself), the printer's measures, the
// printout font, and a document written by the printer driver into a file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "print/song_printout.h"
#include "print/songbook_printout.h"
#include "tests/print/recording_surface.h"
#include "tests/print/wine_test_printer.h"
#include "tests/test_files.h"
#include "ui/gdi_print_surface.h"

namespace lyro {
namespace {

// How many pages a driver's output holds, where the output is PostScript
// (one "showpage" per page); -1 for any other printer language.
int postscript_pages(const std::string& output) {
    if (output.rfind("%!PS", 0) != 0) return -1;
    int pages = 0;
    for (std::size_t at = output.find("\nshowpage"); at != std::string::npos;
         at = output.find("\nshowpage", at + 1))
        ++pages;
    return pages;
}

// The measures that the GDI surface takes of the default printer.
PrintMeasures default_printer_measures(const std::string& probe_file) {
    GdiPrintSurface surface({PD_RETURNDEFAULT, probe_file});
    const auto job = surface.start_job("probe", OwnerWindow{});
    if (!job) return {};
    const PrintMeasures m = job->measures();
    job->end();
    return m;
}

// Dots per inch of the default printer's page, and of the screen.
int default_printer_dpi() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd)) return 0;
    const int dpi = GetDeviceCaps(pd.hDC, LOGPIXELSY);
    DeleteDC(pd.hDC);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    return dpi;
}

int screen_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

DWORD gdi_objects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

CurrentSong long_song(int body_lines) {
    CurrentSong song;
    song.title = "A LONG SONG";
    song.line_count = static_cast<std::size_t>(body_lines) + 1;
    song.display.resize(std::max(song.display.size(), song.line_count));
    song.display[0] = " ";
    for (int i = 1; i <= body_lines; ++i) song.display[static_cast<std::size_t>(i)] = "line " + std::to_string(i);
    song.raw = std::vector<std::string>(song.display.begin(),
                                        song.display.begin() + static_cast<long>(song.line_count));
    return song;
}

// All in one test, so that no two tests of a run install or remove the test
// printer at the same time.
TEST(GdiPrinting, PrintoutsReachThePrinterDriverPageForPage) {
    if (!test::has_default_printer()) {
        // Without a printer the dialog gives none, and there is no job.
        GdiPrintSurface none({PD_RETURNDEFAULT, {}});
        EXPECT_EQ(none.start_job(kPrintDocumentName, OwnerWindow{}), nullptr);
    }
    test::TestPrinter printer;
    if (!printer.ready()) {
        GTEST_SKIP() << "no printer to print to: " << printer.why();
    }
    test::ScratchDir dir;

    const PrintMeasures m = default_printer_measures(dir.file("probe.prn"));
    ASSERT_GT(m.line_height, 0);
    EXPECT_EQ(m.line_step, m.line_height + m.line_height / 8);
    EXPECT_GT(m.page_width, m.left_margin);
    EXPECT_GT(m.page_height, m.inch_height);
    // A printout is laid out in the printer's own dots, whatever the screen
    // has: run again with the screen at 144 dpi (LYRO_EXPECT_DPI), it is
    // the same.
    if (const char* expected = std::getenv("LYRO_EXPECT_DPI")) {
        ASSERT_EQ(screen_dpi(), std::atoi(expected)) << "the screen is not at the resolution asked for";
    }
    EXPECT_EQ(m.inch_height, default_printer_dpi());
    std::printf("printer: line height %d, line step %d, page %d x %d, %d x %d pixels per inch\n",
                m.line_height, m.line_step, m.page_width, m.page_height, m.left_margin,
                m.inch_height);

    const DWORD objects_before = gdi_objects();
    const CurrentSong song = long_song(130);
    GdiPrintSurface song_surface({PD_RETURNDEFAULT, dir.file("song.prn")});
    print_current_song(song_surface, OwnerWindow{}, song);
    test::RecordingSurface song_pages(m);
    print_current_song(song_pages, OwnerWindow{}, song);

    test::write_file(dir.file("songbook.lyr"), "::::: First :::::\r\nf1\r\n::::: Second :::::\r\ns1\r\n");
    Catalog catalog{{"First", "Second", "Missing"}};
    CurrentSong work;
    ViewPosition position;
    test::RecordingLabel status;
    test::CountingBeeper beeper;
    GdiPrintSurface book_surface({PD_RETURNDEFAULT, dir.file("book.prn")});
    print_songbook(book_surface, OwnerWindow{},
                   {catalog, dir.file("songbook.lyr"), work, position, status, beeper});
    test::RecordingSurface book_pages(m);
    print_songbook(book_pages, OwnerWindow{},
                   {catalog, dir.file("songbook.lyr"), work, position, status, beeper});

    // Every handle the two jobs took is given back.
    if (objects_before != 0) {
        EXPECT_EQ(gdi_objects(), objects_before);
    }

    const std::string song_out = test::read_file(dir.file("song.prn"));
    const std::string book_out = test::read_file(dir.file("book.prn"));
    ASSERT_FALSE(song_out.empty());
    ASSERT_FALSE(book_out.empty());
    if (postscript_pages(song_out) < 0) {
        GTEST_SKIP() << "the printer does not write PostScript";
    }
    EXPECT_NE(song_out.find("%%Title: Songbook Printout"), std::string::npos);
    EXPECT_EQ(postscript_pages(song_out), static_cast<int>(song_pages.pages.size()));
    EXPECT_EQ(postscript_pages(book_out), static_cast<int>(book_pages.pages.size()));
    EXPECT_GE(song_pages.pages.size(), 3u);  // 131 lines take three pages at least
}

}  // namespace
}  // namespace lyro
