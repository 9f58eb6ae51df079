// Song requests written into the profile by an outside party, as the real
// main window polls them.
#include <gtest/gtest.h>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"

namespace lyro::test {
namespace {

constexpr const char* kThreeSongList =
    ";SONG LIST FILE\r\nSONG01=COME THOU FOUNT\r\nKEYCHANGE01=2\r\n"
    "SONG02=AMAZING GRACE\r\nKEYCHANGE02=-3\r\n"
    "SONG03=BLESSED ASSURANCE\r\nKEYCHANGE03=5\r\n;END";

// A poll comes every 101 ticks of 50 ms: give it two intervals.
constexpr int kPollWaitMs = 12000;

class SongRequest : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songbook(), sample_songbook());
        write_file(run.state.files.songlist(), kThreeSongList);
        run.write_profile("SONGREQUEST", "0");
    }
    DeskRun run;
};

TEST_F(SongRequest, WithTheDialogOpenShowsTheEntryOnceAndInTheOpenViewer) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 3; }));
        d.write_profile("SONGREQUEST", "1");
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; },
                                 kPollWaitMs));
        HWND viewer = d.state().windows.viewer;
        EXPECT_EQ(d.state().song.title, "AMAZING GRACE");
        EXPECT_EQ(d.profile_int("SONGREQUEST"), 0);
        EXPECT_EQ(d.state().position.key_offset, -3);
        EXPECT_EQ(d.state().position.list_position, 1);
        // A second request while the viewer is open shows its song there.
        d.write_profile("SONGREQUEST", "2");
        EXPECT_TRUE(d.wait_until([&] { return d.state().song.title == "BLESSED ASSURANCE"; },
                                 kPollWaitMs));
        EXPECT_EQ(d.state().windows.viewer, viewer);
        EXPECT_EQ(d.state().position.key_offset, 5);
        d.press(viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(viewer));
        // The request was served once: Review shows the chosen song again.
        d.choose(library, "COME THOU FOUNT");
        d.press(library, IDC_REVIEW);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        EXPECT_EQ(d.state().song.title, "COME THOU FOUNT");
        EXPECT_EQ(d.state().position.key_offset, 0);
        d.press(d.state().windows.viewer, IDCANCEL);
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST_F(SongRequest, APositionOutsideTheListIsIgnored) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 3; }));
        d.write_profile("SONGREQUEST", "3");
        ASSERT_TRUE(d.wait_until([&] { return d.profile_int("SONGREQUEST") == 0; }, kPollWaitMs));
        // The posted command has been handled once the dialog answers again.
        SendMessageA(library, WM_NULL, 0, 0);
        EXPECT_EQ(d.state().windows.viewer, nullptr);
        EXPECT_EQ(d.state().requests.requested_position, 0);
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST_F(SongRequest, WithTheDialogClosedIsDropped) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.press(library, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(library));
        d.write_profile("SONGREQUEST", "1");
        ASSERT_TRUE(d.wait_until([&] { return d.profile_int("SONGREQUEST") == 0; }, kPollWaitMs));
        EXPECT_EQ(d.state().windows.viewer, nullptr);
        EXPECT_EQ(d.state().requests.requested_position, 0);  // nothing left pending
        d.press(d.state().windows.main, IDM_QUIT);
        EXPECT_TRUE(d.wait_ended());
    });
}

}  // namespace
}  // namespace lyro::test
