// ChordPro files into songs: directives, the title and the key, the lines
// that the songbook would misread, and the song as the songbook holds it.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "songtool/chordpro/chordpro_import.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

ImportedSong imported(std::string_view text, std::string_view fallback = "file") {
    const ImportOutcome outcome = import_chordpro(text, fallback);
    if (const auto* refusal = std::get_if<ImportRefusal>(&outcome)) {
        ADD_FAILURE() << "refused at line " << refusal->line << ": " << refusal->reason;
        return {};
    }
    return std::get<ImportedSong>(outcome);
}

ImportRefusal refused(std::string_view text) {
    const ImportOutcome outcome = import_chordpro(text, "file");
    if (!std::holds_alternative<ImportRefusal>(outcome)) {
        ADD_FAILURE() << "imported: " << text;
        return {};
    }
    return std::get<ImportRefusal>(outcome);
}

TEST(ChordProImport, DirectivesGiveTheTitleTheKeyAndLinesOfTheirOwn) {
    const ImportedSong song = imported(
        "{title: Be Still}\n{artist: K. Writer}\n{key: D}\n{tempo: 72}\n# a comment\n"
        "{soc}\n[D]Be still\n{eoc}\n{start_of_verse: Verse 2}\nand know\n{eov}\n"
        "{c: softly}\n{ci}\n{sot}\ne|--0--[x]--|\n{eot}\n{new_page}\n{t: Not This}\n");
    EXPECT_EQ(song.title, "Be Still");
    EXPECT_EQ(song.key, "D");
    EXPECT_EQ(song.lines, (Lines{"K. Writer", "Chorus:", "D<", "Be still", "Verse 2", "and know",
                                 "softly", "e|--0--[x]--|"}));
    // {tempo}, the comment line, the empty {ci}, {new_page}; the second title is ignored.
    EXPECT_EQ(song.dropped, 4u);
}

TEST(ChordProImport, TheTitleComesFromTheFileNameAndFitsTheSongbook) {
    EXPECT_EQ(imported("la\n", "amazing grace").title, "amazing grace");
    EXPECT_EQ(imported("{title}\nla\n", "from file").title, "from file");  // no argument
    EXPECT_EQ(imported("{title:Psalm 23: The Lord}\nla\n").title, "Psalm 23- The Lord");
    EXPECT_EQ(imported("{t:  :Odd  }\nla\n").title, "-Odd");
    EXPECT_EQ(imported("{title: /Hidden}\nla\n").title, "/Hidden");
    EXPECT_EQ(imported("la\n", "").title, "NONAME");
    // The library's song box finds a song by 49 characters of its title.
    EXPECT_EQ(imported("{title: " + std::string(49, 'x') + "}\nla\n").title.size(), 49u);
    EXPECT_NE(refused("{title: " + std::string(50, 'x') + "}\nla\n").reason.find("49"),
              std::string::npos);
    EXPECT_EQ(refused("{title: a #*#*# b}\nla\n").line, 0u);
    EXPECT_EQ(refused("{title: ***** x}\nla\n").line, 0u);
    // A key that would spoil the header is left out.
    EXPECT_EQ(imported("{key: G #*#*#}\nla\n").key, "");
}

TEST(ChordProImport, ALineTheSongbookWouldMisreadRefusesTheSongAtThatLine) {
    const struct {
        const char* text;
        std::size_t line;
        const char* why;
    } rows[] = {
        {"ok\n;hidden\n", 2, "comment"},
        {"ok\nok\na ::::: b\n", 3, "new song"},
        {"x #*#*# y\n", 1, "end the songbook"},
        {"{c: ***** label}\n", 1, "label"},
        {"[;G]x\n", 1, "comment"},
        {"ok\r\nbin\x01ary\r\n", 2, "control"},
        {"x\x1ay\n", 1, "control"},
        {"{sot}\n;tab\n", 2, "comment"},
    };
    for (const auto& row : rows) {
        const ImportRefusal refusal = refused(row.text);
        EXPECT_EQ(refusal.line, row.line) << row.text;
        EXPECT_NE(refusal.reason.find(row.why), std::string::npos) << refusal.reason;
    }
}

TEST(ChordProImport, EmptyBrokenAndHugeFilesAreRefusedOrImportedWhole) {
    EXPECT_EQ(refused("").line, 0u);
    EXPECT_EQ(refused("{title: Only}\n\n   \n").line, 0u);
    // One huge line: broken into more than the song editor holds.
    EXPECT_EQ(refused(std::string(5'000'000, 'x')).line, 1u);
    EXPECT_EQ(refused("a\n" + std::string(5'000'000, '[')).line, 2u);
    // Unbalanced brackets and braces are text.
    EXPECT_EQ(imported("[G\n]\n{title\n").lines, (Lines{"[G", "]", "{title"}));
}

TEST(ChordProImport, KeepsTheSongWithinWhatTheViewerAndTheEditorHold) {
    // Lines of up to 99 characters stay whole (100 with the writer's blank).
    EXPECT_EQ(imported(std::string(99, 'x')).lines, (Lines{std::string(99, 'x')}));
    const Lines broken = imported("{c: " + std::string(60, 'a') + " " + std::string(60, 'b') + "}").lines;
    EXPECT_EQ(broken, (Lines{std::string(60, 'a'), std::string(60, 'b')}));
    // 198 lines of the song are shown; one more is refused at its line.
    std::string text;
    for (int i = 0; i < 198; ++i) text += "la\n";
    EXPECT_EQ(imported(text).lines.size(), 198u);
    EXPECT_EQ(refused(text + "la\n").line, 199u);
    // The editor loads 19,999 characters, each line with the writer's blank
    // and CR LF: 196 lines of 99 characters fit, the 197th does not.
    text.clear();
    for (int i = 0; i < 196; ++i) text += std::string(99, 'x') + "\n";
    EXPECT_EQ(imported(text).lines.size(), 196u);
    text += std::string(99, 'x') + "\n";
    EXPECT_EQ(refused(text).line, 197u);
    EXPECT_NE(refused(text).reason.find("19999"), std::string::npos);
}

TEST(ChordProImport, CountsTheCharactersWindows1252Lacks) {
    const ImportedSong song = imported("{title: Caf\xC3\xA9 \xE2\x99\xAA}\n\xE4\xB8\xAD la\n");
    EXPECT_EQ(song.title, "Caf\xE9 ?");
    EXPECT_EQ(song.lines, (Lines{"? la"}));
    EXPECT_EQ(song.replaced, 2u);
}

TEST(ChordProImport, TheSongIsWrittenAsTheEditorWritesIt) {
    ImportedSong song{"Be Still", "D", {"D<", "Be still", ""}};
    EXPECT_EQ(song_in_book_form(song),
              "::::: Be Still ::::: KEY=D\r\n \r\nD< \r\nBe still \r\n \r\n");
    song.key.clear();
    EXPECT_EQ(song_in_book_form(song).substr(0, 26), "::::: Be Still ::::: KEY=x");
}

}  // namespace
}  // namespace lyro
