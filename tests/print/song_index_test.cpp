// The printout's song index against the lookup from the top of the file
// that it replaces: on random songbooks full of the traps of the format
// (duplicate titles, titles that differ in case or trailing blanks, labels,
// songs after the end marker, lines the reader cuts, rich-text words), every
// title finds the same song, the same lines, the same status and beeps.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "library/book_file.h"
#include "library/current_song.h"
#include "library/song_loading.h"
#include "print/song_index.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

struct Lookup {
    bool found = false;
    std::vector<std::string> lines;
    int beeps = 0;
    bool operator==(const Lookup&) const = default;
};

// What the printout did before the index: the file read from its top.
Lookup from_the_top(const std::string& path, std::string title) {
    Lookup result;
    test::CountingBeeper beeper;
    test::RecordingLabel status;
    BookFile book(path);
    result.found = find_song(book, title, status, beeper);
    if (result.found)
        read_song_body(book, beeper, [&](std::string_view line) { result.lines.emplace_back(line); });
    result.beeps = beeper.count;
    return result;
}

Lookup from_the_index(const SongIndex& index, const std::string& title) {
    Lookup result;
    const IndexedSong* song = index.find(title);
    result.found = song != nullptr;
    if (song) {
        index.lines(*song, [&](std::string_view line) { result.lines.emplace_back(line); });
    }
    result.beeps = static_cast<int>(song ? song->beeps : index.beeps_when_not_found());
    return result;
}

const char* const kTitles[] = {"Amazing Grace", "amazing grace", "Amazing Grace  ", "AMAZING GRACE",
                               "Be Thou My Vision", "/Hidden", "Zion", "zion "};

std::string random_line(std::mt19937& rng) {
    switch (rng() % 9) {
        case 0: return "::::: " + std::string(kTitles[rng() % 8]) + " ::::: KEY=xx";
        case 1: return "***** Advent *****";
        case 2: return "#*#*#";
        case 3: return "; a comment";
        case 4: return std::string(900 + rng() % 300, 'x');  // cut by the reader now and then
        case 5: return "\\par words \\tab here";
        case 6: return std::string(120, 'w');
        default: return " G   C   D7<  words " + std::to_string(rng() % 100);
    }
}

TEST(SongIndex, FindsWhatTheLookupFromTheTopFindsOnRandomSongbooks) {
    test::ScratchDir dir;
    const std::string path = dir.file("songbook.lyr");
    std::mt19937 rng(20261209);
    for (int book = 0; book < 200; ++book) {
        std::string text;
        const int lines = static_cast<int>(rng() % 60);
        for (int i = 0; i < lines; ++i) text += random_line(rng) + (rng() % 4 ? "\r\n" : "\n");
        test::write_file(path, text);
        const SongIndex index(path);
        ASSERT_TRUE(index.opened());
        for (const char* title : kTitles) {
            SCOPED_TRACE(testing::Message() << "book " << book << ", title \"" << title << "\"");
            EXPECT_EQ(from_the_index(index, title), from_the_top(path, title));
        }
    }
}

TEST(SongIndex, ASongbookThatCannotBeOpenedFindsNothing) {
    test::ScratchDir dir;
    const SongIndex index(dir.file("missing.lyr"));
    EXPECT_FALSE(index.opened());
    EXPECT_EQ(index.find("Amazing Grace"), nullptr);
}

}  // namespace
}  // namespace lyro
