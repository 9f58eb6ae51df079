// The stage view's state as songdesk publishes it: every field, the
// Windows-1252 text of the songbook as UTF-8, hostile text that must come
// back exactly, and stage.json written only when what it shows changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "library/song_loading.h"
#include "remote/list_pages.h"
#include "remote/stage_publisher.h"
#include "remote/stage_state.h"
#include "tests/test_files.h"
#include "transpose/transpose_song.h"

namespace lyro {
namespace {

using nlohmann::json;
using test::read_file;
using test::ScratchDir;
using test::write_file;

CurrentSong song_of(std::string title, std::vector<std::string> raw, std::string key = "") {
    CurrentSong song;
    song.title = std::move(title);
    song.raw = std::move(raw);
    song.line_count = song.raw.size();
    song.header_key = std::move(key);
    transpose_song(song, 0);  // as the viewer's repaint does before publishing
    return song;
}

PerfList list_of(std::vector<ListEntry> entries) {
    PerfList list;
    for (std::size_t i = 0; i < entries.size(); ++i) list.entries[i] = entries[i];
    list.length = static_cast<int>(entries.size());
    return list;
}

json parsed(const std::string& text) { return json::parse(text); }

TEST(StageState, ASongCarriesItsLinesTransposedWithTheirKindsAndTheRunningEntry) {
    CurrentSong song = song_of("AMAZING GRACE", {" ", "  G        C      D7<", "  Amazing grace",
                                                 "***** Chorus *****", "  How sweet"},
                               "G");
    transpose_song(song, 2);
    const PerfList list = list_of({{"Intro", 0}, {"Amazing Grace", 2}, {"Outro", -3}});
    const ViewPosition running{0, 0, 1, 2};

    const json j = parsed(stage_json(song_stage(song, running, list), 7));

    EXPECT_EQ(j["seq"], 7);
    EXPECT_EQ(j["showing"], "song");
    EXPECT_EQ(j["title"], "AMAZING GRACE");
    EXPECT_EQ(j["offset"], 2);
    EXPECT_EQ(j["key"], "A");
    ASSERT_EQ(j["lines"].size(), 5u);
    EXPECT_EQ(j["lines"][0], (json{{"text", " "}, {"kind", "lyric"}}));
    EXPECT_EQ(j["lines"][1]["kind"], "chord");
    EXPECT_EQ(j["lines"][1]["text"], song.display[1]);  // as the viewer shows it
    EXPECT_EQ(j["lines"][1]["text"].get<std::string>().substr(0, 20), "  A        D      E7");
    EXPECT_EQ(j["lines"][3]["kind"], "label");
    EXPECT_EQ(j["lines"][4], (json{{"text", "  How sweet"}, {"kind", "lyric"}}));
    EXPECT_EQ(j["set"], (json::array({{{"title", "Intro"}, {"change", 0}},
                                      {{"title", "Amazing Grace"}, {"change", 2}},
                                      {{"title", "Outro"}, {"change", -3}}})));
    EXPECT_EQ(j["at"], 1);
    EXPECT_FALSE(j.contains("songs"));
    // The seq comes first, so that songserv can read it without parsing.
    EXPECT_EQ(stage_json(song_stage(song, running, list), 7).rfind("{\"seq\":7,", 0), 0u);
}

TEST(StageState, OnlyARunningListHasAnEntryOnStage) {
    const CurrentSong song = song_of("X", {" "});
    const PerfList list = list_of({{"X", 0}, {"Y", 0}});
    EXPECT_TRUE(parsed(stage_json(song_stage(song, {1, 0, 1, 0}, list), 1))["at"].is_null());
    // A position past the list's end names no entry.
    EXPECT_TRUE(parsed(stage_json(song_stage(song, {0, 0, 5, 0}, list), 1))["at"].is_null());
    EXPECT_EQ(parsed(stage_json(song_stage(song, {0, 0, 0, 0}, list), 1))["at"], 0);
}

TEST(StageState, TheKeyFollowsTheOffsetWhenTheHeaderNamesOne) {
    struct Row {
        std::string header_key;
        int offset;
        json expected;
    };
    const Row rows[] = {
        {"G", 2, "A"},        {"g", 0, "G"},       {"F#m", 1, "Gm"},   {"Bb", -1, "A"},
        {"Ebmaj", 12, "Ebmaj"}, {"D", -11, "Eb"},  {"xx", 3, nullptr}, {"", 0, nullptr},
        {"H", 0, nullptr},    {"Gsus4", 0, nullptr}, {"E#", 1, "F#"},
    };
    for (const Row& row : rows) {
        const CurrentSong song = song_of("T", {" "}, row.header_key);
        const json j = parsed(stage_json(song_stage(song, {1, 0, 0, row.offset}, PerfList{}), 1));
        EXPECT_EQ(j["key"], row.expected) << row.header_key << " " << row.offset;
    }
}

TEST(StageState, TheKeyIsSpelledAsTheChordsAre) {
    const CurrentSong song = song_of("T", {" "}, "G");
    const ViewPosition up_one{1, 0, 0, 1};
    EXPECT_EQ(parsed(stage_json(song_stage(song, up_one, PerfList{}, Spelling::fixed), 1))["key"],
              "G#");
    EXPECT_EQ(parsed(stage_json(song_stage(song, up_one, PerfList{}, Spelling::by_key), 1))["key"],
              "Ab");
}

TEST(StageState, TheListCarriesTheListedTitlesInOrderAndNoSong) {
    const PerfList list = list_of({{"B", 1}});
    const json j = parsed(stage_json(list_stage({"Zeta ", "Alpha", "/Hidden", "  "}, list), 3));
    EXPECT_EQ(j["showing"], "list");
    EXPECT_EQ(j["songs"], (json::array({"Zeta", "Alpha", "/Hidden", ""})));
    EXPECT_EQ(j["set"], (json::array({{{"title", "B"}, {"change", 1}}})));
    EXPECT_TRUE(j["at"].is_null());
    EXPECT_FALSE(j.contains("lines"));
    EXPECT_FALSE(j.contains("title"));
}

TEST(StageState, WindowsText1252BecomesUtf8) {
    // e-acute, en dash, left single quote, the euro sign, and 0x81, which
    // Windows-1252 leaves undefined and Windows maps to U+0081.
    const CurrentSong song = song_of("Caf\xE9 \x96 \x91x\x80", {" ", "Gr\xFC\xDF" "e\x81"});
    const json j = parsed(stage_json(song_stage(song, {}, PerfList{}), 1));
    EXPECT_EQ(j["title"], "Caf\u00E9 \u2013 \u2018x\u20AC");
    EXPECT_EQ(j["lines"][1]["text"], "Gr\u00FC\u00DFe\u0081");
    const json list = parsed(stage_json(list_stage({"\xC5se"}, list_of({{"\xD8ye", 0}})), 1));
    EXPECT_EQ(list["songs"][0], "\u00C5se");
    EXPECT_EQ(list["set"][0]["title"], "\u00D8ye");
}

TEST(StageState, HostileTextComesBackExactlyOnOneLine) {
    const std::string nasty = "\"quoted\" \\back\\ </script><b>&amp;\x01\t\r\n{\"seq\":9}";
    const CurrentSong song = song_of(nasty, {" ", nasty, std::string(5000, '<')});
    const std::string text = stage_json(song_stage(song, {}, list_of({{nasty, 0}})), 1);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    const json j = parsed(text);
    EXPECT_EQ(j["title"], nasty);
    // It holds '<', so the viewer shows it as a chord line.
    EXPECT_EQ(j["lines"][1]["text"], song.display[1]);
    EXPECT_EQ(j["lines"][1]["kind"], "chord");
    EXPECT_EQ(j["lines"][2]["text"].get<std::string>().size(), 5000u);
    EXPECT_EQ(j["set"][0]["title"], nasty);
    EXPECT_EQ(text.rfind("{\"seq\":1,", 0), 0u);
}

TEST(StagePublisher, WritesOnlyWhenWhatTheStageShowsChanges) {
    const ScratchDir dir;
    const std::string path = dir.file("stage.json");
    StagePublisher stage;
    CurrentSong song = song_of("A", {" ", "G<"});
    transpose_song(song, 0);

    EXPECT_TRUE(stage.publish(path, song_stage(song, {}, PerfList{})));
    EXPECT_EQ(parsed(read_file(path))["seq"], 1);
    // A repaint that changes nothing (scrolling, magnifying, uncovering).
    EXPECT_FALSE(stage.publish(path, song_stage(song, {}, PerfList{})));
    EXPECT_EQ(parsed(read_file(path))["seq"], 1);

    transpose_song(song, 1);
    EXPECT_TRUE(stage.publish(path, song_stage(song, {1, 0, 0, 1}, PerfList{})));
    const json j = parsed(read_file(path));
    EXPECT_EQ(j["seq"], 2);
    EXPECT_EQ(j["lines"][1]["text"].get<std::string>().substr(0, 2), "G#");
    EXPECT_TRUE(stage.publish(path, list_stage({"A"}, PerfList{})));
    EXPECT_EQ(stage.seq(), 3u);
    EXPECT_FALSE(test::file_exists(path + ".new"));
}

TEST(StagePublisher, SeqGoesOnFromTheFileAnEarlierRunLeft) {
    struct Row {
        std::string left;
        json first_seq;
    };
    const Row rows[] = {
        {R"({"seq":41,"showing":"list"})", 42},
        {"", 1},
        {"not json at all {", 1},
        {R"({"seq":"41"})", 1},
        {R"({"seq":-5})", 1},
        {R"({"seq":18446744073709551615})", 1},
        {R"([1,2,3])", 1},
    };
    for (const Row& row : rows) {
        const ScratchDir dir;
        const std::string path = dir.file("stage.json");
        write_file(path, row.left);
        StagePublisher stage;
        ASSERT_TRUE(stage.publish(path, list_stage({}, PerfList{}))) << row.left;
        EXPECT_EQ(parsed(read_file(path))["seq"], row.first_seq) << row.left;
    }
}

TEST(StagePublisher, AFileThatCannotBeReplacedIsLeftAndTriedAgainLater) {
    const ScratchDir dir;
    const std::string path = dir.file("stage.json");
    write_file(path, R"({"seq":5})");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    StagePublisher stage;
    EXPECT_FALSE(stage.publish(path, list_stage({"A"}, PerfList{})));
    EXPECT_EQ(read_file(path), R"({"seq":5})");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    // The same state again: not written before, so written now.
    EXPECT_TRUE(stage.publish(path, list_stage({"A"}, PerfList{})));
    EXPECT_EQ(parsed(read_file(path))["seq"], 6);
}

TEST(StageState, ListPagesGiveTheStageTheTitlesOfTheListPage) {
    const ScratchDir dir;
    ListPages pages(dir.file("index.html"));
    pages.begin_list_page();
    pages.add_list_page_entry("One & <Two>");
    pages.add_list_page_entry("Three");
    pages.finish_list_page();
    EXPECT_NE(read_file(dir.file("index.html")).find("1 - One &amp; &lt;Two&gt;"), std::string::npos);
    EXPECT_EQ(pages.take_titles(), (std::vector<std::string>{"One & <Two>", "Three"}));
}

TEST(StageState, ALoadedSongKnowsWhatItsHeaderNamesAfterKey) {
    const ScratchDir dir;
    const std::string book = dir.file("songbook.lyr");
    write_file(book,
               "::::: First ::::: KEY=G\r\n  line\r\n"
               "::::: KEY=C Second ::::: KEY=Bb  \r\n  line\r\n"
               "::::: Third :::::\r\n  line\r\n"
               "::::: Fourth ::::: KEY=xx\r\n");
    const std::pair<std::string, std::string> rows[] = {
        {"First", "G"}, {"KEY=C Second", "Bb"}, {"Third", ""}, {"Fourth", "xx"}, {"Missing", ""}};
    for (const auto& [title, key] : rows) {
        CurrentSong song;
        song.header_key = "stale";
        song.title = title;
        test::RecordingLabel status;
        test::CountingBeeper beeper;
        load_current_song(book, song, status, beeper);
        EXPECT_EQ(song.header_key, key) << title;
    }
}

}  // namespace
}  // namespace lyro
