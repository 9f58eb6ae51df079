// songtool's parts in memory: the command line, export file names, the
// import's plan and the songbook check.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "songtool/book_check.h"
#include "songtool/book_import.h"
#include "songtool/export_names.h"
#include "songtool/songtool_args.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

TEST(SongtoolArgs, CommandsOptionsAndMistakes) {
    ToolArgs a = parse_tool_args({"import", "a.cho", "b.cho", "--book", "x/b.lyr"}, false, "");
    EXPECT_EQ(a.command, ToolCommand::import);
    EXPECT_EQ(a.files, (Lines{"a.cho", "b.cho"}));
    EXPECT_EQ(a.book, "x/b.lyr");
    a = parse_tool_args({"--book", "y.lyr", "export", "out"}, false, "");
    EXPECT_EQ(a.command, ToolCommand::export_songs);
    EXPECT_EQ(a.dir, "out");
    EXPECT_EQ(a.book, "y.lyr");
    EXPECT_EQ(parse_tool_args({"check"}, false, "").book, "songbook.lyr");
    EXPECT_EQ(parse_tool_args({"--help"}, false, "").command, ToolCommand::help);
    for (const Lines& wrong : {Lines{}, Lines{"import"}, Lines{"export"}, Lines{"export", "a", "b"},
                               Lines{"check", "x"}, Lines{"check", "--book"}, Lines{"song.cho"}}) {
        EXPECT_EQ(parse_tool_args(wrong, false, "").command, ToolCommand::usage_error)
            << wrong.size();
    }
}

TEST(SongtoolArgs, FilesAloneAreDroppedFilesForTheSongbookBesideTheProgram) {
    const ToolArgs a = parse_tool_args({"C:\\songs\\a.cho", "b.cho"}, true, "prog");
    EXPECT_EQ(a.command, ToolCommand::import);
    EXPECT_TRUE(a.dropped);
    EXPECT_EQ(a.files, (Lines{"C:\\songs\\a.cho", "b.cho"}));
    EXPECT_EQ(a.book, (std::filesystem::path("prog") / "songbook.lyr").string());
    EXPECT_FALSE(parse_tool_args({"check"}, true, "prog").dropped);
}

TEST(ExportNames, WindowsAcceptsEveryNameAndNoTwoAreTheSame) {
    ExportNames names;
    const std::pair<const char*, const char*> rows[] = {
        {"Amazing Grace", "Amazing Grace.cho"},
        {"AMAZING GRACE", "AMAZING GRACE (2).cho"},
        {"amazing grace ", "amazing grace (3).cho"},
        {"What? A \"Friend\": <We> Have|*", "What_ A _Friend__ _We_ Have__.cho"},
        {"/Hidden\\song", "_Hidden_song.cho"},
        {"Dots...", "Dots.cho"},
        {"con", "con_.cho"},
        {"LPT1.txt", "LPT1.txt_.cho"},
        {"COM0", "COM0.cho"},
        {"  ", "song.cho"},
        {"Tab\there", "Tab_here.cho"},
    };
    for (const auto& [title, name] : rows) EXPECT_EQ(names.name_for(title), name) << title;
    EXPECT_EQ(names.name_for(std::string(300, 'x')).size(), 104u);  // 100 and ".cho"
}

// A ChordPro file of one lyric line under `title`.
std::string song_file(const std::string& title) { return "{title: " + title + "}\nla la\n"; }

ImportPlan plan(std::string_view book, const std::map<std::string, std::string>& files) {
    Lines names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    return plan_import(book, names, [&](const std::string& name, std::string& bytes) {
        if (name.starts_with("missing")) return false;
        bytes = files.at(name);
        return true;
    });
}

constexpr const char* kSongA = "::::: A ::::: KEY=xx\r\n \r\nla la \r\n";

TEST(ImportPlan, NewSongsGoBeforeTheEndMarkerAndTakenTitlesAreSkipped) {
    const std::string book = "::::: Old :::::\r\nx\r\n;c\r\n#*#*#\r\n::::: After :::::\r\n";
    const ImportPlan p = plan(book, {{"1.cho", song_file("A")},
                                     {"2.cho", song_file("old ")},
                                     {"3.cho", song_file("a")},
                                     {"4.cho", song_file("After")},
                                     {"missing.cho", ""}});
    EXPECT_EQ(p.imported, 2u);
    EXPECT_EQ(p.skipped, 3u);
    EXPECT_EQ(p.report, (Lines{"imported \"A\" from 1.cho",
                               "skipped 2.cho: a song titled \"old\" is already in the songbook",
                               "skipped 3.cho: a song titled \"a\" comes earlier in this import",
                               "imported \"After\" from 4.cho",
                               "skipped missing.cho: it cannot be read"}));
    EXPECT_EQ(p.new_book, "::::: Old :::::\r\nx\r\n;c\r\n" + std::string(kSongA) +
                              "::::: After ::::: KEY=xx\r\n \r\nla la \r\n"
                              "#*#*#\r\n::::: After :::::\r\n");
}

TEST(ImportPlan, AddsAtTheEndOfTheReadableTextAndCompletesALastLine) {
    EXPECT_EQ(plan("free text", {{"a.cho", song_file("A")}}).new_book,
              "free text\r\n" + std::string(kSongA));
    EXPECT_EQ(plan("", {{"a.cho", song_file("A")}}).new_book, kSongA);
    // Nothing after a Ctrl-Z is read: the song goes before it.
    EXPECT_EQ(plan("x\r\n\x1a::::: Z :::::", {{"a.cho", song_file("A")}}).new_book,
              "x\r\n" + std::string(kSongA) + "\x1a::::: Z :::::");
    // An end marker on a comment line ends nothing.
    EXPECT_EQ(plan(";#*#*#\r\n", {{"a.cho", song_file("A")}}).new_book,
              ";#*#*#\r\n" + std::string(kSongA));
}

TEST(ImportPlan, BadFilesAreSkippedWithTheirReason) {
    const ImportPlan p = plan("", {{"bin.cho", std::string("\x7f" "ELF\x02\x01\x01\0\0", 9)},
                                   {"empty.cho", ""},
                                   {"huge.cho", std::string(100'000, 'x')},
                                   {"ok.cho", "[G\n]\n{title\n"}});
    EXPECT_EQ(p.imported, 1u);
    EXPECT_EQ(p.report[0], "skipped bin.cho: line 1: it holds control characters: this is not a text file");
    EXPECT_EQ(p.report[1], "skipped empty.cho: it holds no lyric or chord lines");
    EXPECT_EQ(p.report[2].substr(0, 24), "skipped huge.cho: line 1");
    EXPECT_EQ(p.report[3], "imported \"ok\" from ok.cho");
}

TEST(ImportPlan, EverySongOfAFileHasALineOfTheReport) {
    const ImportPlan p = plan("::::: Old :::::\r\n",
                              {{"a_set.cho", "{t: One}\n# mine\nla\n{ns}\n{t: Old}\nlo\n{ns}\n{t: Two}\n;x\n"},
                               {"b_sheet.txt", "Grace\n\nG  C\nla la\n"},
                               {"c_words.txt", "just words\nand more\n"},
                               {"d_song.xml", "<?xml version=\"1.0\"?>\n<song/>\n"}});
    EXPECT_EQ(p.report,
              (Lines{"imported \"One\" from a_set.cho, song 1 of 3; 1 line left out (comments, and "
                     "directives the songbook has no place for)",
                     "skipped a_set.cho, song 2 of 3: a song titled \"Old\" is already in the songbook",
                     "skipped a_set.cho, song 3 of 3 (\"Two\"): line 9: it begins with \";\", which "
                     "would hide it as a comment",
                     "imported \"Grace\" from b_sheet.txt (a chord sheet)",
                     "imported \"c_words\" from c_words.txt (a chord sheet); no chord lines found",
                     "skipped d_song.xml: an XML song file; this format cannot be imported yet"}));
    EXPECT_EQ(p.imported, 3u);
    EXPECT_EQ(p.skipped, 3u);
    EXPECT_EQ(p.new_book, "::::: Old :::::\r\n::::: One ::::: KEY=xx\r\n \r\nla \r\n"
                          "::::: Grace ::::: KEY=xx\r\n \r\nG  C< \r\nla la \r\n"
                          "::::: c_words ::::: KEY=xx\r\n \r\njust words \r\nand more \r\n");
}

TEST(BookCheck, EveryTrapWithItsLineAndNoneInACleanBook) {
    const std::string long_title(50, 'T');
    const std::string book = ";comment\r\n"
                             "::::: Grace ::::: KEY=xx\r\n"   // 2
                             "  A B<\r\n"                      // 3: one blank apart: no trap now
                             "  Bb C<\r\n"                     // 4: Bb cannot grow
                             "::::: " + long_title + " :::::\r\n"  // 5
                             + std::string(101, 'x') + "\r\n"  // 6
                             "::::: grace  :::::\r\n"          // 7
                             "#*#*#\r\n"                       // 8
                             "::::: Lost :::::\r\n";           // 9
    EXPECT_EQ(check_book(book),
              (Lines{"line 5: \"" + long_title + "\" is 50 characters long: picked from the song box "
                     "it is cut to 49 and not found",
                     "line 6: a line of 101 characters: the viewer shows only its first 100",
                     "line 7: \"grace\" is a second song of the title of line 2: only the first is "
                     "ever shown",
                     "line 9: \"Lost\" stands after the end marker \"#*#*#\" of line 8: it is never "
                     "listed or shown"}));
    EXPECT_TRUE(check_book("::::: A :::::\r\n  A  B<\r\n" + std::string(100, 'x') + "\r\n::::: " +
                           std::string(49, 'x') + " :::::\r\n")
                    .empty());
}

}  // namespace
}  // namespace lyro
