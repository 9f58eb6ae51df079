// What the stage view follows: stage.json as the real viewer and library
// dialog write it, a song with its transposed lines, key and running
// entry, and the song list again when the viewer closes; a repaint that
// changes nothing the stage shows writes nothing.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tests/ui/viewer_fixture.h"

namespace lyro::test {
namespace {

using nlohmann::json;

constexpr const char* kTwoSongList =
    ";SONG LIST FILE\r\nSONG01=AMAZING GRACE\r\nKEYCHANGE01=2\r\n"
    "SONG02=BLESSED ASSURANCE\r\nKEYCHANGE02=0\r\n;END";

class ViewerStage : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songbook(), sample_songbook());
        write_file(run.state.files.songlist(), kTwoSongList);
    }
    DeskRun run;
};

json stage_of(Driver& d) {
    return json::parse(read_file(d.state().files.stage()), nullptr, false);
}

// Waits until stage.json shows what `shows` accepts.
bool stage_shows(Driver& d, const std::function<bool(const json&)>& shows) {
    return d.wait_until([&] {
        const json j = stage_of(d);
        return j.is_object() && shows(j);
    });
}

TEST_F(ViewerStage, FollowsARunAndTheLibraryAndSkipsRepaintsThatChangeNothing) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        // The library's song list, hidden song left out as on the page.
        ASSERT_TRUE(stage_shows(d, [](const json& j) { return j["showing"] == "list"; }));
        EXPECT_EQ(stage_of(d)["songs"],
                  json::array({"AMAZING GRACE", "BLESSED ASSURANCE", "COME THOU FOUNT"}));

        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 2; }));
        d.press(library, IDC_RUN);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        HWND viewer = d.state().windows.viewer;
        painted(viewer);
        ASSERT_TRUE(stage_shows(d, [](const json& j) { return j["showing"] == "song"; }));
        json j = stage_of(d);
        EXPECT_EQ(j["title"], "AMAZING GRACE");
        EXPECT_EQ(j["offset"], 2);
        EXPECT_EQ(j["key"], "A");  // KEY=G, two half steps up
        EXPECT_EQ(j["at"], 0);
        EXPECT_EQ(j["set"], (json::array({{{"title", "AMAZING GRACE"}, {"change", 2}},
                                          {{"title", "BLESSED ASSURANCE"}, {"change", 0}}})));
        ASSERT_GE(j["lines"].size(), 4u);
        EXPECT_EQ(j["lines"][2]["kind"], "chord");
        EXPECT_EQ(j["lines"][2]["text"].get<std::string>().substr(0, 19), "A          D     A ");
        EXPECT_EQ(j["lines"][3], (json{{"text", "Amazing grace, how sweet the sound"},
                                       {"kind", "lyric"}}));
        const auto seq = j["seq"].get<std::uint64_t>();

        // Uncovering, magnifying and scrolling repaint, but change nothing
        // that the stage shows.
        EXPECT_TRUE(repainted_after(d, viewer, [&] { InvalidateRect(viewer, nullptr, TRUE); }));
        EXPECT_TRUE(repainted_after(d, viewer, [&] { click(viewer, IDC_V_MAGNIFY_UP); }));
        EXPECT_TRUE(repainted_after(d, viewer, [&] { click(viewer, IDC_V_PAGE_DOWN); }));
        EXPECT_EQ(stage_of(d)["seq"], seq);

        click(viewer, IDC_V_NEXT_KEY);
        painted(viewer);
        ASSERT_TRUE(stage_shows(d, [](const json& s) { return s["offset"] == 3; }));
        EXPECT_EQ(stage_of(d)["key"], "Bb");
        EXPECT_EQ(stage_of(d)["set"][0]["change"], 3);
        EXPECT_GT(stage_of(d)["seq"].get<std::uint64_t>(), seq);

        click(viewer, IDC_V_NEXT_SONG);
        painted(viewer);
        ASSERT_TRUE(stage_shows(d, [](const json& s) { return s["at"] == 1; }));
        EXPECT_EQ(stage_of(d)["title"], "BLESSED ASSURANCE");
        EXPECT_EQ(stage_of(d)["key"], "D");

        click(viewer, IDCANCEL);
        EXPECT_TRUE(stage_shows(d, [](const json& s) {
            return s["showing"] == "list" && s["at"].is_null();
        }));
    });
}

// Sharps and flats by the song's key, from the Options menu: the viewer,
// the song page and the stage view follow at once, and the choice is kept
// in the profile.
TEST_F(ViewerStage, SharpsAndFlatsByKeyFollowTheMenuAndAreKept) {
    write_file(run.state.files.songbook(),
               "::::: IN E FLAT ::::: KEY=Eb\r\n \r\n  Eb  Ab  Bb<\r\nwords\r\n#*#*#\r\n");
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND main = d.state().windows.main;
        EXPECT_EQ(GetMenuState(GetMenu(main), IDM_SPELL_BY_KEY, MF_BYCOMMAND) & MF_CHECKED, 0u);
        HWND viewer = review_in_viewer(d, library, "IN E FLAT", "IN E FLAT");
        ASSERT_NE(viewer, nullptr);
        painted(viewer);
        ASSERT_TRUE(d.wait_until([&] { return remote_page(d).find("  Eb  G#  Bb") != std::string::npos; }));

        d.press(main, IDM_SPELL_BY_KEY);
        painted(viewer);
        EXPECT_TRUE(d.wait_until([&] { return remote_page(d).find("  Eb  Ab  Bb") != std::string::npos; }));
        EXPECT_EQ(d.state().song.display[2].substr(0, 12), "  Eb  Ab  Bb");
        EXPECT_TRUE(stage_shows(d, [](const json& j) {
            return j["lines"][2]["text"].get<std::string>().substr(0, 12) == "  Eb  Ab  Bb";
        }));
        EXPECT_NE(GetMenuState(GetMenu(main), IDM_SPELL_BY_KEY, MF_BYCOMMAND) & MF_CHECKED, 0u);
        EXPECT_EQ(d.state().profile->read_int("SPELLING", 7), 1);

        click(viewer, IDC_V_NEXT_KEY);  // E major: sharps
        painted(viewer);
        EXPECT_TRUE(d.wait_until([&] { return remote_page(d).find("  E   A   B ") != std::string::npos; }));
        click(viewer, IDC_V_PREV_KEY);

        d.press(main, IDM_SPELL_BY_KEY);
        painted(viewer);
        EXPECT_TRUE(d.wait_until([&] { return remote_page(d).find("  Eb  G#  Bb") != std::string::npos; }));
        EXPECT_EQ(d.state().profile->read_int("SPELLING", 7), 0);
        click(viewer, IDCANCEL);
    });
}

TEST_F(ViewerStage, TheSpellingIsReadFromTheProfileAtStart) {
    run.write_profile("SPELLING", "1");
    run.run([](Driver& d) {
        ASSERT_NE(d.library(), nullptr);
        EXPECT_EQ(d.state().viewer.spelling, Spelling::by_key);
        HWND main = d.state().windows.main;
        EXPECT_NE(GetMenuState(GetMenu(main), IDM_SPELL_BY_KEY, MF_BYCOMMAND) & MF_CHECKED, 0u);
    });
}

}  // namespace
}  // namespace lyro::test
