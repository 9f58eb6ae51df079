// The remote page in its two layouts, compared byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "remote/remote_page.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::read_file;
using test::ScratchDir;

// Joins lines, each ended by CR LF, as the page must hold them.
std::string crlf_lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

const std::vector<std::string> kListTop = {
    "<HTML>",
    "<HEAD>",
    "<TITLE>Songbook Server</TITLE><META http-equiv=\"refresh\" content=\"4\">",
    "</HEAD><BODY BGCOLOR =\"FFFFFF\">",
    "<FONT COLOR=\"0000FF\">",
    "<FONT SIZE=6>",
    "<FONT FACE= \"Courier New\">",
    "<CENTER><B><U>LIST</U></B></CENTER><FONT SIZE=5><p></p><pre>",
};

std::string list_page(const std::vector<std::string>& entry_lines) {
    std::vector<std::string> lines = kListTop;
    lines.insert(lines.end(), entry_lines.begin(), entry_lines.end());
    lines.insert(lines.end(), {"</SELECT><BR>", "</pre></FONT>", "</BODY>", "</HTML>"});
    return crlf_lines(lines);
}

std::string song_page(const std::string& title, const std::vector<std::string>& display) {
    std::vector<std::string> lines = {
        "<HTML>",
        "<HEAD>",
        "<TITLE>" + title +
            "</TITLE><META http-equiv=\"refresh\" content=\"4\"></HEAD><BODY BGCOLOR =\"FFFFFF\">",
        "<FONT COLOR=\"0000FF\">",
        "<FONT SIZE=5>",
        "<FONT FACE= \"Courier New\">",
        "<CENTER><B><U>" + title + "</U></B></CENTER><FONT SIZE=5><p></p><pre>",
    };
    lines.insert(lines.end(), display.begin(), display.end());
    lines.insert(lines.end(), {"</pre></FONT>", "</BODY>", "</HTML>"});
    return crlf_lines(lines);
}

TEST(ListPage, TwoEntriesMatchTheLayoutByteForByte) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.add_list_page_entry("First Song");
    writer.add_list_page_entry("Second Song");
    writer.finish_list_page();
    // The first entry shares line 9 with the caption.
    EXPECT_EQ(read_file(page), list_page({"<B>Songs:</B> <BR>1 - First Song", "2 - Second Song"}));
}

TEST(ListPage, NoEntriesPutTheClosingOnTheCaptionLine) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.finish_list_page();
    std::vector<std::string> lines = kListTop;
    lines.insert(lines.end(),
                 {"<B>Songs:</B> <BR></SELECT><BR>", "</pre></FONT>", "</BODY>", "</HTML>"});
    EXPECT_EQ(read_file(page), crlf_lines(lines));
}

TEST(ListPage, ReplacesTheOldPageAndRestartsNumbering) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    test::write_file(page, std::string(5000, 'x'));
    ListPageWriter writer(page);
    for (int round = 0; round < 2; ++round) {
        writer.begin_list_page();
        writer.add_list_page_entry("Only");
        writer.finish_list_page();
    }
    EXPECT_EQ(read_file(page), list_page({"<B>Songs:</B> <BR>1 - Only"}));
}

TEST(ListPage, ReleasedUnfinishedItHoldsTheOpeningLinesAlone) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    {
        ListPageWriter writer(page);
        writer.begin_list_page();
    }
    std::string expected = crlf_lines(kListTop) + "<B>Songs:</B> <BR>";
    EXPECT_EQ(read_file(page), expected);
}

TEST(ListPage, ReleasedAfterSomeEntriesItKeepsThem) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    {
        ListPageWriter writer(page);
        writer.begin_list_page();
        writer.add_list_page_entry("One");
    }
    EXPECT_EQ(read_file(page), crlf_lines(kListTop) + "<B>Songs:</B> <BR>1 - One\r\n");
}

// Two scans that overlap (or a page handed from one writer to another) must
// never mix: each finished page is put in place whole, and the page in
// place is always one of them.
TEST(ListPage, OverlappingWritersOfOnePageEachPutTheirWholePageInPlace) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    ListPageWriter first(page);
    ListPageWriter second(page);
    first.begin_list_page();
    first.add_list_page_entry("A");
    second.begin_list_page();
    second.add_list_page_entry("The Second Page Is The Longer One");
    second.finish_list_page();
    EXPECT_EQ(read_file(page),
              list_page({"<B>Songs:</B> <BR>1 - The Second Page Is The Longer One"}));
    first.finish_list_page();
    EXPECT_EQ(read_file(page), list_page({"<B>Songs:</B> <BR>1 - A"}));
    EXPECT_FALSE(std::filesystem::exists(page + ".new"));
}

TEST(ListPage, AMovedWriterGoesOnWithThePageAndTheOneMovedFromPutsNothing) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    test::write_file(page, "old page");
    auto from = std::make_unique<ListPageWriter>(page);
    from->begin_list_page();
    from->add_list_page_entry("One");
    ListPageWriter to(std::move(*from));
    from.reset();
    EXPECT_EQ(read_file(page), "old page");
    to.add_list_page_entry("Two");
    to.finish_list_page();
    EXPECT_EQ(read_file(page), list_page({"<B>Songs:</B> <BR>1 - One", "2 - Two"}));
}

TEST(ListPage, APageLongerThanAnyBufferIsWrittenWhole) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    ListPageWriter writer(page);
    writer.begin_list_page();
    std::vector<std::string> entries;
    for (int i = 1; i <= 5000; ++i) {
        const std::string title = "Song & title number " + std::to_string(i) + std::string(30, '.');
        writer.add_list_page_entry(title);
        entries.push_back(std::to_string(i) + " - " + html_escaped(title));
    }
    writer.finish_list_page();
    entries.front() = "<B>Songs:</B> <BR>" + entries.front();
    EXPECT_EQ(read_file(page), list_page(entries));
}

TEST(ListPage, AFolderThatCannotHoldThePageMakesEveryStepANoOp) {
    ScratchDir dir;
    const std::string page = dir.file("missing/index.html");
    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.add_list_page_entry("Song");
    writer.finish_list_page();
    EXPECT_FALSE(test::file_exists(page));
}

TEST(ListPage, AReadOnlyPageStaysAsItWas) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    test::write_file(page, "old page");
    std::filesystem::permissions(page, std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.add_list_page_entry("Song");
    writer.finish_list_page();
    write_song_page(page, "Song", {" "}, 1);
    EXPECT_EQ(read_file(page), "old page");
    std::filesystem::permissions(page, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST(SongPage, MatchesTheLayoutByteForByteWithTrailingBlanksKept) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    const std::vector<std::string> display = {" ", "G      D      ", "Amazing grace", "", "x"};
    write_song_page(page, "First Song", display, 4);
    EXPECT_EQ(read_file(page), song_page("First Song", {" ", "G      D      ", "Amazing grace", ""}));
}

TEST(SongPage, ASongNotFoundShowsOneBlankLine) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    write_song_page(page, "NOWHERE", {" "}, 1);
    EXPECT_EQ(read_file(page), song_page("NOWHERE", {" "}));
}

TEST(SongPage, ACountBeyondTheLinesWritesOnlyTheLinesThatExist) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    write_song_page(page, "T", {"a", "b"}, 500);
    EXPECT_EQ(read_file(page), song_page("T", {"a", "b"}));
}

TEST(SongPage, ACreateFailureWritesNothing) {
    ScratchDir dir;
    const std::string page = dir.file("missing/index.html");
    write_song_page(page, "T", {"a"}, 1);
    EXPECT_FALSE(test::file_exists(page));
}

// Markup in a songbook must reach the browser as text, never as markup.
TEST(PageEscaping, TitlesAndLinesAreEscapedInBothLayouts) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.add_list_page_entry("Praise & Worship <script>");
    writer.finish_list_page();
    EXPECT_EQ(read_file(page),
              list_page({"<B>Songs:</B> <BR>1 - Praise &amp; Worship &lt;script&gt;"}));

    write_song_page(page, "R&B <i>", {"G     D <", "a&b>c"}, 2);
    EXPECT_EQ(read_file(page), song_page("R&amp;B &lt;i&gt;", {"G     D &lt;", "a&amp;b&gt;c"}));
}

TEST(PageEscaping, OnlyTheThreeMarkupCharactersChange) {
    using namespace std::string_literals;
    EXPECT_EQ(html_escaped("a&b<c>d\0\xff\t\"'"s), "a&amp;b&lt;c&gt;d\0\xff\t\"'"s);
    EXPECT_EQ(html_escaped("&amp;"), "&amp;amp;");  // never taken for an escape already made
}

// A line that the songbook reader cut at its limit keeps its LF; in the page
// it still becomes a CR LF line break, like every other one.
TEST(PageLineEnds, AnLfInsideATextIsWrittenAsCrLf) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    write_song_page(page, "T", {"cut\n"}, 1);
    EXPECT_EQ(read_file(page), song_page("T", {"cut", ""}));
}

}  // namespace
}  // namespace lyro
