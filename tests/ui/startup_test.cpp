// songdesk's start in a folder without a songbook, and the ways it ends.
#include <gtest/gtest.h>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"

namespace lyro::test {
namespace {

TEST(Startup, YesCreatesTheExampleSongbookAndTheDialogListsIt) {
    DeskRun run;
    run.write_profile("TERMINATE", "1");
    const int code = run.run([](Driver& d) {
        // The offer is a real message box, found by its caption.
        HWND offer = d.wait_for("ABOUT Lyrovant");
        ASSERT_NE(offer, nullptr);
        EXPECT_NE(d.box_text(offer).find("SONGBOOK.LYR"), std::string::npos);
        d.answer(offer, IDYES);
        // No songlist yet: the notice comes once.
        HWND notice = d.wait_for("LOAD SONGLIST");
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(d.box_text(notice), "Could Not Load Songlist");
        EXPECT_EQ(d.profile_int("TERMINATE"), 0);  // start announced
        d.answer(notice, IDOK);
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(d.song_box_items(library).size(), 1u);
        EXPECT_EQ(d.text(library, IDC_COUNT), "1");
        EXPECT_EQ(d.text(library, IDC_STATUS), ".");
        d.press(library, IDC_EXIT_PROGRAM);  // list unchanged: no question
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(file_exists(run.state.files.songbook()));
    EXPECT_EQ(run.profile_int("TERMINATE"), 1);
}

TEST(Startup, NoEndsTheProgramWithoutCreatingAnything) {
    DeskRun run;
    run.write_profile("TERMINATE", "0");
    run.run([](Driver& d) {
        ASSERT_TRUE(d.answer("ABOUT Lyrovant", IDNO));
        EXPECT_TRUE(d.wait_ended());
        EXPECT_TRUE(d.stays_away("List of Songs Available", 300));
    });
    EXPECT_FALSE(file_exists(run.state.files.songbook()));
    EXPECT_EQ(run.profile_int("TERMINATE"), 1);
}

TEST(Startup, ASongbookThatCannotBeCreatedIsToldAndTheProgramEnds) {
    DeskRun run;
    run.state.files.dir = run.dir.path() / "no such folder";
    run.write_profile("TERMINATE", "0");
    run.run([](Driver& d) {
        ASSERT_TRUE(d.answer("ABOUT Lyrovant", IDYES));
        HWND failure = d.wait_for("CRITICAL ERROR");
        ASSERT_NE(failure, nullptr);
        const std::string text = d.box_text(failure);
        EXPECT_NE(text.find("Could Not Create Songbook"), std::string::npos);
        EXPECT_NE(text.find("no such folder"), std::string::npos);
        d.answer(failure, IDOK);
        EXPECT_TRUE(d.wait_ended());
        EXPECT_TRUE(d.stays_away("List of Songs Available", 300));
    });
    EXPECT_EQ(run.profile_int("TERMINATE"), 1);
}

TEST(Startup, QuitAndTheCloseBoxRunTheExitSteps) {
    for (const UINT how : {UINT{WM_COMMAND}, UINT{WM_CLOSE}}) {
        SCOPED_TRACE(how);
        DeskRun run;
        write_file(run.state.files.songbook(), sample_songbook());
        write_file(run.state.files.songlist(), ";SONG LIST FILE\r\n;END");
        run.run([how](Driver& d) {
            HWND library = d.library();
            ASSERT_NE(library, nullptr);
            EXPECT_EQ(d.profile_int("TERMINATE"), 0);
            d.press(library, IDCANCEL);  // Main Menu: back to the main window
            ASSERT_TRUE(d.wait_gone(library));
            EXPECT_EQ(d.state().windows.library, nullptr);
            if (how == WM_COMMAND) {
                d.press(d.state().windows.main, IDM_QUIT);
            } else {
                PostMessageA(d.state().windows.main, WM_CLOSE, 0, 0);
            }
            EXPECT_TRUE(d.wait_ended());
        });
        EXPECT_EQ(run.profile_int("TERMINATE"), 1);
    }
}

}  // namespace
}  // namespace lyro::test
