// Songbooks that no editor would write: binary data, NUL bytes, lines of
// megabytes, no line ends at all, headers without titles. Every reader must
// get through them without crashing, hanging or overflowing, and keep the
// limits that the rest of the program relies on.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "library/songbook.h"
#include "library/catalog.h"
#include "library/song_loading.h"
#include "remote/remote_page.h"
#include "tests/library/recording_song_box.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

std::string random_bytes(std::size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(byte(gen));
    return out;
}

// Random bytes with the songbook's markers sprinkled in, so that the
// readers' header, label and title paths all run on garbage.
std::string random_songbook(std::size_t size, unsigned seed) {
    static const std::string kPieces[] = {":::::", "*****", "\n", "\r\n", ";", "::::: x", "\\par"};
    std::mt19937 gen(seed);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::string out = random_bytes(size, seed);
    for (std::size_t at = 0; at + 8 < out.size(); at += 200 + gen() % 300) {
        const std::string& piece = kPieces[pick(gen)];
        out.replace(at, piece.size(), piece);
    }
    return out;
}

// The bytes are made when a test runs, not when the tests are listed, so
// that listing them (once per test under CTest) stays quick.
struct HostileFile {
    const char* name;
    std::string (*bytes)();
};

std::string without_line_ends() {
    std::string bytes = random_bytes(300'000, 7);
    for (char& c : bytes) {
        if (c == '\n' || c == '\x1a') c = 'n';
    }
    return bytes;
}

std::string many_empty_headers() {
    std::string bytes;
    for (int i = 0; i < 20'000; ++i) bytes += ":::::\n*****\n";
    return bytes;
}

const HostileFile kHostileFiles[] = {
    {"random binary", [] { return random_bytes(1'000'000, 1); }},
    {"random binary with markers", [] { return random_songbook(1'000'000, 2); }},
    {"NUL bytes only", [] { return std::string(100'000, '\0'); }},
    {"NULs in headers and lines", [] { return "::::: A\0B ::::: KEY=xx\n\0x\0\n*****\0\n"s; }},
    {"a line of megabytes", [] { return "::::: Huge\n" + std::string(3'000'000, 'x') + "\n"; }},
    {"a header of megabytes", [] { return "::::: " + std::string(2'000'000, 'y'); }},
    {"no line ends at all", without_line_ends},
    {"CRs only", [] { return std::string(500'000, '\r'); }},
    {"headers without titles", [] { return ":::::\n::::: \n::::::::::::\nx:::::\n:::::"s; }},
    {"empty headers and labels by the thousand", many_empty_headers},
    {"a body of NUL lines", [] { return "::::: S\n" + std::string(50'000, '\0') + "\n\n\n"; }},
};

class HostileInput : public ::testing::TestWithParam<HostileFile> {
protected:
    void SetUp() override {
        bytes = GetParam().bytes();
        test::write_file(songbook, bytes);
    }

    std::string bytes;

    test::ScratchDir dir;
    std::string songbook = dir.file("songbook.lyr");
    std::string page = dir.file("index.html");
};

TEST_P(HostileInput, TheLineReaderKeepsItsLimit) {
    const auto book = read_songbook(songbook);
    ASSERT_TRUE(book);
    std::size_t cuts = 0;
    std::size_t delivered = 0;
    for (const BookLine& line : book->lines()) {
        ASSERT_LE(line.text.size(), kBookLineMax);
        cuts += line.cut ? 1 : 0;
        delivered += line.text.size();
    }
    EXPECT_LE(delivered, bytes.size());
    EXPECT_LE(cuts, book->lines().size());
}

TEST_P(HostileInput, TheCatalogScanFinishesWithAConsistentCatalog) {
    Catalog catalog;
    test::RecordingSongBox box;
    test::RecordingLabel count;
    SilentBeeper beeper;
    {
        ListPageWriter list_page(page);
        build_catalog(songbook, true, catalog, {box, count, beeper, list_page});
    }
    EXPECT_EQ(count.text, std::to_string(catalog.entries.size()));
    EXPECT_EQ(box.items.size(), catalog.entries.size());
    for (std::size_t i = 0; i < catalog.entries.size(); ++i) {
        ASSERT_LE(catalog.entries[i].size(), kCatalogTitleMax);
        ASSERT_EQ(catalog.entries[i], box.items[i].substr(0, kCatalogTitleMax));
    }
    const std::string text = test::read_file(page);
    const std::string closing = "</pre></FONT>\r\n</BODY>\r\n</HTML>\r\n";
    ASSERT_GE(text.size(), closing.size());
    EXPECT_EQ(text.substr(text.size() - closing.size()), closing);
}

TEST_P(HostileInput, EveryTitleOfTheCatalogLoadsWithinTheLimits) {
    Catalog catalog;
    test::RecordingSongBox box;
    test::RecordingLabel count;
    SilentBeeper beeper;
    {
        ListPageWriter list_page(page);
        build_catalog(songbook, true, catalog, {box, count, beeper, list_page});
    }
    // A few titles (the first and the last of the box) and one that no song has.
    Texts titles = {"no such song at all"};
    if (!box.items.empty()) {
        titles.push_back(box.items.front());
        titles.push_back(box.items.back());
    }
    for (const std::string& title : titles) {
        CurrentSong song;
        song.title = title;
        test::RecordingLabel status;
        load_current_song(songbook, song, status, beeper);
        ASSERT_GE(song.line_count, 1u);
        ASSERT_EQ(song.raw.size(), song.line_count);
        ASSERT_GE(song.display.size(), song.line_count);
        EXPECT_EQ(song.raw[0], " ");
        for (const std::string& line : song.raw) ASSERT_LE(line.size(), kSongLineMax);
        EXPECT_TRUE(status.text == " " || status.text == "Song Not Found") << status.text;

        write_song_page(page, song.title, song.display, song.line_count);
        const std::string text = test::read_file(page);
        EXPECT_EQ(text.find('<', text.find("<pre>") + 5), text.find("</pre>"))
            << "markup from the songbook reached the page";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInput, ::testing::ValuesIn(kHostileFiles),
                         [](const ::testing::TestParamInfo<HostileFile>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

// The cases above check limits; these pin down what the odd bytes become.
class HostileDetails : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::string songbook = dir.file("songbook.lyr");
    std::string page = dir.file("index.html");
    Catalog catalog;
    test::RecordingSongBox box;
    test::RecordingLabel count;
    test::CountingBeeper beeper;
    CurrentSong song;
    test::RecordingLabel status;
};

TEST_F(HostileDetails, NulBytesAreKeptInTitlesAndLines) {
    test::write_file(songbook, "::::: A\0B ::::: KEY=xx\n\0x\0\n"s);
    {
        ListPageWriter list_page(page);
        build_catalog(songbook, false, catalog, {box, count, beeper, list_page});
    }
    EXPECT_EQ(catalog.entries, Texts{"A\0B "s});
    EXPECT_NE(test::read_file(page).find("1 - A\0B \r\n"s), std::string::npos);
    song.title = "a\0b"s;
    load_current_song(songbook, song, status, beeper);
    EXPECT_EQ(song.raw, (Texts{" ", "\0x\0"s}));
}

TEST_F(HostileDetails, HeadersWithoutTitlesGiveEmptyEntries) {
    test::write_file(songbook, ":::::\n::::: \nbody\n");
    {
        ListPageWriter list_page(page);
        build_catalog(songbook, false, catalog, {box, count, beeper, list_page});
    }
    EXPECT_EQ(catalog.entries, (Texts{"", ""}));
    song.title = "";
    load_current_song(songbook, song, status, beeper);
    EXPECT_EQ(status.text, " ");
    EXPECT_EQ(song.raw, Texts{" "});  // the first untitled song is empty
}

TEST_F(HostileDetails, ALineOfMegabytesIsReadInPiecesWithABeepEach) {
    const std::size_t size = 3'000'000;
    test::write_file(songbook, "::::: Huge\n" + std::string(size, 'x'));
    song.title = "HUGE";
    load_current_song(songbook, song, status, beeper);
    EXPECT_EQ(song.line_count, 1 + (size + kBookLineMax - 1) / kBookLineMax);
    EXPECT_EQ(static_cast<std::size_t>(beeper.count), size / kBookLineMax);
    EXPECT_EQ(song.raw[1], std::string(kSongLineMax, 'x'));
}

}  // namespace
}  // namespace lyro
