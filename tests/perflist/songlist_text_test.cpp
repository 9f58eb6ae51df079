// The songlist file's lines: the exact bytes written, and every rule of
// reading them back, for files of this program and of others.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "perflist/songlist_file.h"
#include "tests/perflist/list_fakes.h"

namespace lyro {
namespace {

using test::FakeListBox;
using test::Keys;
using test::Titles;

TEST(SonglistText, TwoTitlesAreSixLinesWithCrLfAndNoLineEndAfterEnd) {
    const PerfList list = test::make_list({"Amazing Grace", "Be Thou My Vision"}, {-3, 0});
    EXPECT_EQ(songlist_text(list),
              ";SONG LIST FILE\r\n"
              "SONG01=Amazing Grace\r\n"
              "KEYCHANGE01=-3\r\n"
              "SONG02=Be Thou My Vision\r\n"
              "KEYCHANGE02=0\r\n"
              ";END");
}

TEST(SonglistText, NumbersHaveTwoDigitsAndKeysAreWrittenAsStored) {
    Titles titles;
    for (int i = 1; i <= 32; ++i) titles.push_back(test::nth_title(i));
    PerfList list = test::make_list(titles, {});
    list.entries[9].key_change = 40;
    list.entries[31].key_change = INT_MIN;
    const std::string text = songlist_text(list);
    EXPECT_NE(text.find("\r\nSONG09=T9\r\nKEYCHANGE09=0\r\nSONG10=T10\r\nKEYCHANGE10=40\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nKEYCHANGE32=-2147483648\r\n;END"), std::string::npos);
    EXPECT_EQ(songlist_text(PerfList{}), ";SONG LIST FILE\r\n;END");
}

TEST(LeadingInt, ReadsAsTheCLibraryDoesAndNeverOverflows) {
    struct Row {
        const char* text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"07=X", 7},
        {"  \t-3", -3},
        {"+12", 12},
        {"\v\f\n5x", 5},
        {"", std::nullopt},
        {"=3", std::nullopt},
        {"-", std::nullopt},
        {"- 3", std::nullopt},
        {"+-3", std::nullopt},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999999999", INT_MIN},
        {"000000000000000000000000000012", 12},
    };
    for (const Row& row : rows)
        EXPECT_EQ(leading_int(row.text), row.value) << '"' << row.text << '"';
}

// Reads the lines into a list that held `before` in every place.
struct Reader {
    explicit Reader(const std::string& before = "OLD") {
        for (ListEntry& e : list.entries) e.title = before;
    }
    Reader& lines(std::initializer_list<std::string_view> ls) {
        for (std::string_view l : ls) read_songlist_line(l, reading);
        return *this;
    }
    PerfList list;
    FakeListBox box;
    SonglistReading reading{list, box};
};

TEST(SonglistReading, TitlesAreFoldedAndOneBlankAfterTheEqualsSignIsSkipped) {
    Reader r;
    r.lines({"SONG01=amazing grace  ", "SONG02= one blank", "SONG03=  two blanks",
             "SONG04=", "SONG05= "});
    EXPECT_EQ(r.box.items, (Titles{"AMAZING GRACE", "ONE BLANK", " TWO BLANKS", "", ""}));
    EXPECT_EQ(test::list_titles(r.list), r.box.items);
    EXPECT_EQ(r.list.length, 5);
}

TEST(SonglistReading, GapsKeepTheFormerTitleDuplicatesBothShowAndSong00AddsNothing) {
    Reader r;
    r.lines({"SONG03=C", "SONG01=A", "SONG00=ZERO", "SONG01=A2"});
    EXPECT_EQ(r.box.items, (Titles{"C", "A", "A2"}));
    EXPECT_EQ(test::list_titles(r.list), (Titles{"A2", "OLD", "C"}));
}

TEST(SonglistReading, AKeyChangeLineFindsItsPlaceByItsOwnNumberBeforeOrAfterItsSong) {
    Reader r;
    r.lines({"KEYCHANGE02=-5", "SONG01=A", "KEYCHANGE01=4", "SONG02=B"});
    EXPECT_EQ(test::list_keys(r.list), (Keys{4, -5}));
}

TEST(SonglistReading, NumbersWithSignsBlanksOrNoneAtAll) {
    Reader r;
    // No number after SONG: place 1. A KEYCHANGE line without one means the
    // place of the line before. Signs and white space as C reads numbers;
    // the title and the key always start at the 8th and 13th character.
    r.lines({"SONGxx=FIRST", "KEYCHANGEXX= 7", "SONG +2=SECOND", "KEYCHANGE 2=  -9",
             "SONG-1=NEGATIVE", "KEYCHANGE02=+x"});
    EXPECT_EQ(r.box.items, (Titles{"FIRST", "=SECOND"}));
    EXPECT_EQ(test::list_titles(r.list), (Titles{"FIRST", "=SECOND"}));
    EXPECT_EQ(test::list_keys(r.list), (Keys{7, -9}));
}

TEST(SonglistReading, LinesNumberedOutsideThe32PlacesAreIgnored) {
    Reader r;
    r.lines({"SONG01=A", "SONG33=X", "SONG-1=Y", "SONG99999999999999999999=Z", "KEYCHANGE33=5",
             "KEYCHANGE===6", "KEYCHANGE-2147483648=1", "SONG32=LAST", "KEYCHANGE32=-2"});
    EXPECT_EQ(r.box.items, (Titles{"A", "LAST"}));
    EXPECT_EQ(r.list.length, 32);
    EXPECT_EQ(r.list.entries[0].key_change, 6);  // the line before named place 1
    EXPECT_EQ(r.list.entries[31].key_change, -2);
}

TEST(SonglistReading, LongTitlesAreCutTo99AndAZeroByteEndsTheLine) {
    Reader r;
    const std::string long_title(500, 'q');
    r.lines({"SONG01=" + long_title, std::string_view("SONG02=AB\0CD", 12),
             std::string_view("SO\0NG03=X", 9)});
    EXPECT_EQ(r.box.items, (Titles{std::string(99, 'Q'), "AB"}));
    EXPECT_EQ(r.list.length, 2);
}

TEST(SonglistReading, ShortAndForeignLinesDoNoHarm) {
    Reader r;
    r.lines({"SONG", "SONG1", "song01=lower", "KEYCHANGE", "KEYCHANGE01", "KEYCHANGE01=", "TITLE=X",
             ""});
    EXPECT_EQ(r.box.items, (Titles{"", ""}));  // "SONG" and "SONG1" name place 1 with no title
    EXPECT_EQ(r.list.length, 1);
    EXPECT_EQ(r.list.entries[0].key_change, 0);
}

}  // namespace
}  // namespace lyro
