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

std::vector<ImportOutcome> songs_of(std::string_view text) {
    return import_chordpro_songs(decode_to_cp1252(text), "file");
}

TEST(ChordProImport, EachSongOfACollectionIsASongOfItsOwn) {
    const auto songs = songs_of("{t: A}\n{key: G}\nla\n{new_song}\n{new_song}\n# nothing\n{ns}\n"
                                "lo\n{ns}\n{title: C}\n{c: ***** no}\n");
    ASSERT_EQ(songs.size(), 3u);
    const auto& a = std::get<ImportedSong>(songs[0]);
    EXPECT_EQ(a.title, "A");
    EXPECT_EQ(a.key, "G");
    EXPECT_EQ(a.lines, Lines{"la"});
    // The second song names no title or key of its own: none is carried over.
    const auto& b = std::get<ImportedSong>(songs[1]);
    EXPECT_EQ(b.title, "file 2");
    EXPECT_EQ(b.key, "");
    // A refusal names the song and the line of the file.
    const auto& c = std::get<ImportRefusal>(songs[2]);
    EXPECT_EQ(c.title, "C");
    EXPECT_EQ(c.line, 11u);

    // Five hundred empty songs are no song; five hundred songs are five hundred.
    std::string empty, many;
    for (int i = 0; i < 500; ++i) empty += "{new_song}\n";
    for (int i = 0; i < 500; ++i) many += "{ns}\n{title: S" + std::to_string(i) + "}\nla\n";
    EXPECT_TRUE(songs_of(empty).empty());
    EXPECT_EQ(std::get<ImportRefusal>(import_chordpro(empty, "f")).reason,
              "it holds no lyric or chord lines");
    const auto all = songs_of(many);
    ASSERT_EQ(all.size(), 500u);
    EXPECT_EQ(std::get<ImportedSong>(all[499]).title, "S499");
}

TEST(ChordProImport, MetaDirectivesSayWhatTheirNamesSay) {
    const ImportedSong song = imported(
        "{meta: title Be Still}\n{meta key=\"D\"}\n{meta: artist K. Writer}\n"
        "{meta capo='3'}\n{meta: year 1990}\nla\n");
    EXPECT_EQ(song.title, "Be Still");
    EXPECT_EQ(song.key, "D");
    EXPECT_EQ(song.lines, (Lines{"K. Writer", "Capo 3", "la"}));
    EXPECT_EQ(song.dropped, 1u);  // the year has no place
}

TEST(ChordProImport, AChorusIsRepeatedInFullWhereTheFileAsksForIt) {
    EXPECT_EQ(imported("{soc: Refrain}\n[G]la\n{eoc}\nverse\n{chorus}\n{chorus: Twice}\n").lines,
              (Lines{"Refrain", "G<", "la", "verse", "Refrain", "G<", "la", "Twice", "G<", "la"}));
    // Only a chorus that has ended is repeated; with none, the label alone
    // still tells the band to sing it.
    EXPECT_EQ(imported("{chorus}\n{soc}\nlo\n{chorus}\n").lines,
              (Lines{"Chorus:", "Chorus:", "lo", "Chorus:"}));
    EXPECT_EQ(imported("{soc}\na\n{soc}\nb\n{eoc}\n{chorus}\n").lines,
              (Lines{"Chorus:", "a", "Chorus:", "b", "Chorus:", "b"}));
    // A chorus repeated past what the viewer holds refuses the song.
    std::string repeats = "{soc}\n";
    for (int i = 0; i < 20; ++i) repeats += "la\n";
    repeats += "{eoc}\n";
    for (int i = 0; i < 10; ++i) repeats += "{chorus}\n";
    EXPECT_NE(refused(repeats).reason.find("198 lines"), std::string::npos);
}

TEST(ChordProImport, MarkupIsRemovedAndALoneAngleIsText) {
    const ImportedSong song = imported(
        "{c: <span color=\"red\">Slowly</span>}\n{soc: label=\"<img src='x.png'/>\"}\n"
        "[G]<b>Bold</b> &amp; 1 <2 <span\n{eoc}\n{sov: label=\"Verse <i>2</i>\"}\n"
        "x <!-- note --> y\n");
    EXPECT_EQ(song.lines, (Lines{"Slowly", "Chorus:", "G<", "Bold & 1 \x8B" "2 \x8B" "span",
                                 "Verse 2", "x  y"}));
}

TEST(ChordProImport, BlocksOfNotationAndPicturesAreLeftOutAndCounted) {
    const ImportedSong song = imported(
        "la\n{start_of_abc}\nX:1\n{end_of_abc}\n{start_of_ly}\n\\relative\n{end_of_ly}\n"
        "{image: src=a.png}\n{start_of_svg}\n<svg/>\n{end_of_svg}\nlo\n{start_of_textblock}\nnever"
        " closed\n");
    EXPECT_EQ(song.lines, (Lines{"la", "lo"}));
    EXPECT_EQ(song.blocks, 5u);
}

TEST(ChordProImport, TransposeMovesTheChordsAfterIt) {
    const ImportedSong song = imported(
        "{key: C}\n{transpose: 2}\n[C]a [G/B]b\n{transpose: 40}\n[C]c\n{transpose: -1}\n[C]d\n"
        "{transpose}\n[C]e [*riff]\n{transpose: two}\n[C]f\n");
    // '<' right after the last chord, in place of the blank before "riff".
    EXPECT_EQ(song.lines, (Lines{"D A/C#<", "a b", "E<", "c", "B<", "d", "C<riff", "e", "C<", "f"}));
    // The key moves with the song's first chord; a word is no offset.
    EXPECT_EQ(song.key, "D");
    EXPECT_EQ(song.dropped, 1u);
    // In a key of flats the moved chords are spelled with flats.
    // (Ab is wider than F: the lyric is stretched to keep E over its "b".)
    EXPECT_EQ(imported("{key: F}\n{transpose: 3}\n[F]a [C#]b\n").lines, (Lines{"Ab E<", "a  b"}));
}

TEST(ChordProImport, AnnotationsStandAsWrittenAndAreNeverMoved) {
    // "A tempo" holds a word that would read as a chord: it is made one
    // word. An annotation that is one chord name stays what it says.
    EXPECT_EQ(imported("{transpose: 1}\n[*pauza 2x]a [G]b [*A tempo]c [*Am]\n").lines,
              (Lines{"pauza 2x G# A_tempo Am<", "a        b  c"}));
}

TEST(ChordProImport, ASongInAScriptOfItsOwnIsRefused) {
    // Devanagari: every letter would be a '?'.
    const std::string hindi = "{title: \xE0\xA4\xA8\xE0\xA4\xAE}\n"
                              "[C]\xE0\xA4\x95\xE0\xA4\xAE\xE0\xA4\xB2 \xE0\xA4\xA8\xE0\xA4\xAF\xE0\xA4\xA8\n";
    EXPECT_EQ(refused(hindi).reason, "its script cannot be written in the songbook's Windows-1252");
    // One letter in ten may be lost; one more refuses the song.
    EXPECT_EQ(imported("abcdefghi \xC5\x82\n").replaced, 1u);
    EXPECT_EQ(refused("abcdefgh \xC5\x82\n").line, 0u);
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
