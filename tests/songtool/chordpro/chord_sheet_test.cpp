// Chord sheets: chord lines above their lyrics in plain text. Realistic
// sheets (files/sheets/NAME.txt) and the exact songbook bytes each one
// becomes (NAME.lyr, worked out by hand), what counts as a chord line or a
// section line, and the files that are not ordinary sheets.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "songtool/chordpro/chord_sheet.h"
#include "songtool/chordpro/chordpro_export.h"
#include "songtool/chordpro/song_file.h"
#include "tests/songtool/chordpro/song_file_bytes.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

std::string sheet_path(const std::string& name) {
    return std::string(LYRO_SONG_FILES) + "/sheets/" + name;
}

// The one song of a file, or a failure naming why it was refused.
ImportedSong only_song(std::string_view bytes, std::string_view path) {
    const std::vector<ImportOutcome> outcomes = import_song_file(bytes, path);
    if (outcomes.size() != 1) {
        ADD_FAILURE() << path << ": " << outcomes.size() << " songs";
        return {};
    }
    if (const auto* refusal = std::get_if<ImportRefusal>(&outcomes.front())) {
        ADD_FAILURE() << path << ": line " << refusal->line << ": " << refusal->reason;
        return {};
    }
    return std::get<ImportedSong>(outcomes.front());
}

class ChordSheetFile : public ::testing::TestWithParam<const char*> {};

TEST_P(ChordSheetFile, BecomesExactlyTheExpectedSongbookBytes) {
    const std::string name = GetParam();
    const ImportedSong song = only_song(read_bytes(sheet_path(name + ".txt")), name + ".txt");
    EXPECT_TRUE(song.chord_sheet);
    EXPECT_FALSE(song.no_chord_lines);
    EXPECT_EQ(song_in_book_form(song), read_bytes(sheet_path(name + ".lyr")));
}

// Exported as ChordPro and read back, a sheet keeps every line: its bar
// marks, repeats and N.C. go out as annotations in their columns, its tab
// block and bracketed sections as lyric text.
TEST_P(ChordSheetFile, ExportedAsChordProAndImportedAgainKeepsItsLines) {
    const std::string name = GetParam();
    const ImportedSong song = only_song(read_bytes(sheet_path(name + ".txt")), name + ".txt");
    Lines body{" "};
    for (const std::string& line : song.lines) body.push_back(line + " ");
    const std::string chordpro = export_chordpro(song.title, song.key, body);
    const ImportedSong again = only_song(chordpro, name + ".cho");
    EXPECT_FALSE(again.chord_sheet);
    EXPECT_EQ(again.lines, song.lines) << chordpro;
    EXPECT_EQ(again.title, song.title);
    EXPECT_EQ(again.key, song.key);
}

// Title and key lines in both forms, section lines of every kind, bars,
// repeats, slash and parenthesised chords, N.C., intros of chords alone,
// CR LF and LF, a 127-column line under chords, tabs, a guitar tab block, a
// sheet without a title line, UTF-8 with accents, with and without BOM.
INSTANTIATE_TEST_SUITE_P(Realistic, ChordSheetFile,
                         ::testing::Values("amazing_grace", "come_thou_fount", "it_is_well",
                                           "holy_holy_holy", "abide_with_me", "wayfaring_road",
                                           "cafe_du_marche", "river_of_mercy",
                                           "be_thou_my_vision"));

TEST(ChordSheetLine, IsOneWhoseEveryWordIsAChordOrAChartMark) {
    for (const char* line : {
             "G   C   D",
             "  D/F#  Em7  Cmaj7  Asus4",
             "| G / / / | C . . . |",
             "|: Em . D . :|  x2",
             "G  C  2x",
             "F  G  (x4)",
             "N.C.   G   C",
             "G  (N.C.)",
             "(Am)  G",
             "Bb  F/A  Gm7  Ebmaj7",
             "a  e",  // chords in small letters, as some sheets write them
             "Intro: G C D",  // a section's name, then its chords
             "[Chorus] | G | D |",
         }) {
        EXPECT_TRUE(is_chord_sheet_line(line)) << line;
    }
    for (const char* line : {
             "",
             "A man and a boy",
             "Amazing grace, how sweet the sound",
             "Be Thou my vision",
             "e|---0---|",
             "E---5--",
             "B|-1-3-|",  // a tab line whose dashes never double: "-1-3-" is no chord
             "N.C.",      // marks alone, no chord
             "x2",
             "| / / / |",
             "Capo 2",
             "G C D and again",
         }) {
        EXPECT_FALSE(is_chord_sheet_line(line)) << line;
    }
}

TEST(ChordSheetSection, IsANamedPartOfTheSongWithANumberOrRepeatAtMost) {
    for (const char* line : {"Verse 1", "[Chorus]", "Chorus:", "Pre-Chorus x2", "  Bridge  ",
                             "VERSE 2:", "(Outro)", "Ref.", "[Solo - guitar, quietly]"}) {
        EXPECT_TRUE(is_section_line(line)) << line;
    }
    for (const char* line : {"", "Amazing grace", "Verse of the day is here",
                             "Bridge over troubled streams", "G   C   D", "Versed in sorrow"}) {
        EXPECT_FALSE(is_section_line(line)) << line;
    }
}

TEST(ChordSheet, OfChordNamesAloneIsAllChordLinesAndTitledByItsFileName) {
    const ImportedSong song = only_song("Am\nF\nC   G\n", "sheets/four chords.txt");
    EXPECT_EQ(song.title, "four chords");
    EXPECT_EQ(song.lines, (Lines{"Am<", "F<", "C   G<"}));
    EXPECT_FALSE(song.no_chord_lines);
}

TEST(ChordSheet, WithoutChordLinesComesInAsLyricsAndSaysSo) {
    const ImportedSong song = only_song(
        "Evening Hymn\r\n\r\nNow the day is over,\r\nNight is drawing nigh;\r\n\r\n", "evening.txt");
    EXPECT_TRUE(song.chord_sheet);
    EXPECT_TRUE(song.no_chord_lines);
    EXPECT_EQ(song.title, "Evening Hymn");
    EXPECT_EQ(song.key, "");
    EXPECT_EQ(song.lines, (Lines{"Now the day is over,", "Night is drawing nigh;"}));
}

// A key or a section heads many sheets that give no title: neither is one.
TEST(ChordSheet, TitleIsNeverAKeyOrASectionLine) {
    const ImportedSong keyed = only_song("Key: D\n\nD     G\nShine on\n", "shine.txt");
    EXPECT_EQ(keyed.title, "shine");
    EXPECT_EQ(keyed.key, "D");
    EXPECT_EQ(keyed.lines, (Lines{"D     G<", "Shine on"}));

    const ImportedSong sectioned = only_song("[Verse 1]\n\nD     G\nShine on\n", "shine.txt");
    EXPECT_EQ(sectioned.title, "shine");
    EXPECT_EQ(sectioned.lines, (Lines{"[Verse 1]", "", "D     G<", "Shine on"}));
}

TEST(ChordSheet, XmlSongFilesAreRefusedWhateverTheirName) {
    for (const char* path : {"song.txt", "song.xml", "song"}) {
        for (const char* bytes : {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<song><title>A</title></song>\n",
                                  "\r\n  <song xmlns=\"http://example.org/song\">\n</song>\n"}) {
            const std::vector<ImportOutcome> outcomes = import_song_file(bytes, path);
            ASSERT_EQ(outcomes.size(), 1u);
            const auto* refusal = std::get_if<ImportRefusal>(&outcomes.front());
            ASSERT_NE(refusal, nullptr) << path;
            EXPECT_EQ(refusal->reason, "an XML song file; this format cannot be imported yet");
        }
    }
}

}  // namespace
}  // namespace lyro
