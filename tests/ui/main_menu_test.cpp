// The main window's own menu commands and the message boxes they show.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro::test {
namespace {

// Runs the program to its main window (the library dialog left by Main
// Menu), then `script` on the main window.
void with_main_window(const std::function<void(Driver&, HWND)>& script) {
    DeskRun run;
    write_file(run.state.files.songbook(), sample_songbook());
    write_file(run.state.files.songlist(), ";SONG LIST FILE\r\n;END");
    run.run([&](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.press(library, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(library));
        script(d, d.state().windows.main);
        d.press(d.state().windows.main, IDM_QUIT);
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST(MainMenu, GetIpShowsTheAddressBox) {
    with_main_window([](Driver& d, HWND main) {
        d.press(main, IDM_GET_IP);
        HWND box = d.wait_for("IP Address");
        ASSERT_NE(box, nullptr);
        const std::string text = d.box_text(box);
        // Dotted addresses, each followed by one blank, or nothing at all.
        EXPECT_TRUE(text.empty() || text.back() == ' ') << text;
        EXPECT_EQ(text.find_first_not_of("0123456789. "), std::string::npos) << text;
        d.answer(box, IDOK);
    });
}

TEST(MainMenu, ShowFolderLocationShowsTheCurrentFolder) {
    with_main_window([](Driver& d, HWND main) {
        const std::string folder = current_folder();
        d.press(main, IDM_FOLDER);
        HWND box = d.wait_for("FOLDER LOCATION");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(d.box_text(box), folder);
        d.answer(box, IDOK);
        EXPECT_EQ(current_folder(), folder);  // not on drive J: nothing changes
    });
}

TEST(MainMenu, VersionSetupAboutAndTheFonts) {
    with_main_window([](Driver& d, HWND main) {
        d.press(main, IDM_VERSION);
        HWND box = d.wait_for("VERSION");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(d.box_text(box), "Version 1.06 - Updated 24-November-2014");
        d.answer(box, IDOK);
        d.press(main, IDM_SETUP);
        box = d.wait_for("MESSAGE");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(d.box_text(box), "Not Implemented");
        d.answer(box, IDOK);
        d.press(main, IDM_ABOUT);
        box = d.wait_for("ABOUT Lyrovant");
        ASSERT_NE(box, nullptr);
        EXPECT_NE(d.box_text(box).find("SONGBOOK.LYR"), std::string::npos);
        d.answer(box, IDOK);
        d.press(main, IDM_VERA_FONT);
        EXPECT_TRUE(d.wait_until([&] { return d.state().viewer.font_choice == 1; }));
        d.press(main, IDM_LUCIDA_FONT);
        EXPECT_TRUE(d.wait_until([&] { return d.state().viewer.font_choice == 0; }));
    });
}

// 996 to 998 lie in the range of the DDE messages, which Wine's PostMessage
// treats as DDE traffic: they are delivered here as sent notifications,
// which return at once as a post does.
TEST(MainMenu, PrivateMessagesOpenTheDialogs) {
    with_main_window([](Driver& d, HWND main) {
        SendNotifyMessageA(main, WM_OPEN_EDITOR, 0, 0);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.editor != nullptr; }));
        d.press(d.state().windows.editor, IDCANCEL);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.editor == nullptr; }));
        SendNotifyMessageA(main, WM_OPEN_VIEWER, 0, 0);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        d.press(d.state().windows.viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer == nullptr; }));
        SendNotifyMessageA(main, WM_OPEN_LIBRARY, 0, 0);
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.press(library, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(library));
    });
}

}  // namespace
}  // namespace lyro::test
