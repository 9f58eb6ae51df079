// Saving the editor's song: every case is checked against the exact bytes
// of the rewritten songbook.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/song_body.h"
#include "library/editor_title.h"
#include "library/song_saving.h"
#include "tests/platform/faulty_files.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::file_exists;
using test::read_file;
using test::write_file;

// A song as the writer stores it.
std::string song(std::string_view header_title, std::string_view lines_with_ends) {
    return "::::: " + std::string(header_title) + " ::::: KEY=xx\r\n \r\n" + std::string(lines_with_ends);
}

const std::string kBook = "; my own notes\r\n"
                          "Free text before the songs\r\n" +
                          song("First", "first line \r\n") +
                          song("Middle", "old m1 \r\nold m2 \r\n") +
                          "::::::::   Last:::::\r\n"
                          " \r\n"
                          "last line \r\n";

class SongSaving : public ::testing::Test {
protected:
    void SetUp() override { write_file(paths.oldbook(), "the earlier backup"); }

    // Saves the editor's title and text; current_title and new_song as the
    // editor holds them.
    SaveResult save(std::string_view title, std::string_view text, std::string key = {}) {
        const EditorText boxes{std::string(title), text, std::move(key)};
        return save_song(files, paths, boxes, new_song, current_title);
    }
    std::string book() const { return read_file(paths.songbook()); }

    // A failed save changed nothing at all.
    void expect_nothing_changed(std::string_view before, std::string_view title_before) {
        EXPECT_EQ(book(), before);
        EXPECT_EQ(read_file(paths.oldbook()), "the earlier backup");
        EXPECT_FALSE(file_exists(paths.temp()));
        EXPECT_EQ(current_title, title_before);
    }

    test::ScratchDir dir;
    DataFiles paths{dir.path()};
    test::FaultyFiles files;
    std::string current_title;
    bool new_song = false;
};

TEST_F(SongSaving, ASongInTheMiddleIsReplacedInItsPlace) {
    write_file(paths.songbook(), kBook);
    current_title = "middle";
    ASSERT_EQ(save("Middle", "new 1\r\nnew 2"), SaveResult::saved);
    EXPECT_EQ(book(), "; my own notes\r\n"
                      "Free text before the songs\r\n" +
                          song("First", "first line \r\n") +
                          song("Middle", "new 1 \r\nnew 2 \r\n") +
                          "::::::::   Last:::::\r\n"
                          " \r\n"
                          "last line \r\n");
    EXPECT_EQ(read_file(paths.oldbook()), kBook);
    EXPECT_FALSE(file_exists(paths.temp()));
    EXPECT_EQ(current_title, "Middle");
}

TEST_F(SongSaving, TheKeyBoxGoesIntoTheHeaderAndSurvivesTheEdit) {
    struct Row {
        std::string box;
        std::string header_end;
    };
    const Row rows[] = {
        {"F", " ::::: KEY=F\r\n"},
        {"  F#m  and more", " ::::: KEY=F#m\r\n"},
        {"", " ::::: KEY=xx\r\n"},
        {"   ", " ::::: KEY=xx\r\n"},
        // Nothing that would make the header a label or an end marker.
        {"#*#*#", " ::::: KEY=#\r\n"},
        {"*****", " ::::: KEY=xx\r\n"},
        {"Bb:::::", " ::::: KEY=Bb\r\n"},
        {"ABCDEFGHIJKLMNOP", " ::::: KEY=ABCDEFGHIJKL\r\n"},
    };
    for (const Row& row : rows) {
        write_file(paths.songbook(), kBook);
        current_title = "middle";
        ASSERT_EQ(save("Middle", "new", row.box), SaveResult::saved) << row.box;
        EXPECT_NE(book().find("::::: Middle" + row.header_end), std::string::npos) << row.box;
        EXPECT_EQ(stored_song_key(Songbook(book()), "middle"),
                  row.header_end == " ::::: KEY=xx\r\n" ? "" : row.header_end.substr(11, row.header_end.size() - 13))
            << row.box;
    }
}

TEST(StoredSongKey, IsWhatTheFoundHeaderNamesAndEmptyForXx) {
    const std::string book = "::::: One ::::: KEY=G\r\nx\r\n::::: Two ::::: KEY=xx\r\n"
                             "::::: Three :::::\r\n#*#*#\r\n::::: Four ::::: KEY=D\r\n";
    EXPECT_EQ(stored_song_key(Songbook(book), "ONE"), "G");
    EXPECT_EQ(stored_song_key(Songbook(book), "two"), "");
    EXPECT_EQ(stored_song_key(Songbook(book), "three"), "");
    EXPECT_EQ(stored_song_key(Songbook(book), "four"), "");  // after the end marker
    EXPECT_EQ(stored_song_key(Songbook(book), "five"), "");
}

TEST_F(SongSaving, TheLastSongIsWrittenAtTheEndInCapitals) {
    write_file(paths.songbook(), kBook);
    current_title = "Last";
    ASSERT_EQ(save("Last of all", "changed"), SaveResult::saved);
    EXPECT_EQ(book(), "; my own notes\r\n"
                      "Free text before the songs\r\n" +
                          song("First", "first line \r\n") + song("Middle", "old m1 \r\nold m2 \r\n") +
                          song("LAST OF ALL", "changed \r\n"));
    EXPECT_EQ(current_title, "LAST OF ALL");
}

TEST_F(SongSaving, TwoSavesInARowReplaceTheSameSong) {
    write_file(paths.songbook(), kBook);
    current_title = "Middle";
    ASSERT_EQ(save("Centre", "draft"), SaveResult::saved);
    ASSERT_EQ(save("Centre", "final\r\n"), SaveResult::saved);
    const std::string after_first = read_file(paths.oldbook());
    EXPECT_EQ(book(), "; my own notes\r\n"
                      "Free text before the songs\r\n" +
                          song("First", "first line \r\n") + song("Centre", "final \r\n \r\n") +
                          "::::::::   Last:::::\r\n"
                          " \r\n"
                          "last line \r\n");
    EXPECT_NE(after_first.find("draft \r\n"), std::string::npos);  // the backup is one save old
}

TEST_F(SongSaving, ARenamedSongKeepsItsPlace) {
    write_file(paths.songbook(), kBook);
    current_title = "First";
    ASSERT_EQ(save("Opening Song", "first line"), SaveResult::saved);
    EXPECT_EQ(book(), "; my own notes\r\n"
                      "Free text before the songs\r\n" +
                          song("Opening Song", "first line \r\n") +
                          song("Middle", "old m1 \r\nold m2 \r\n") +
                          "::::::::   Last:::::\r\n"
                          " \r\n"
                          "last line \r\n");
    EXPECT_EQ(current_title, "Opening Song");
}

TEST_F(SongSaving, ASongEndedByTheEndMarkerIsReplacedUpToTheMarker) {
    const std::string after = "#*#*# songs below are put away\r\n" + song("Old", "x \r\n");
    write_file(paths.songbook(), song("Kept", "a \r\nb \r\n") + after);
    current_title = "Kept";
    ASSERT_EQ(save("Kept", "c"), SaveResult::saved);
    EXPECT_EQ(book(), song("Kept", "c \r\n") + after);
}

TEST_F(SongSaving, ANewSongGoesAfterTheEndMarker) {
    const std::string before = song("One", "a \r\n") + "#*#*#\r\n" + song("Two", "b \r\n");
    write_file(paths.songbook(), before);
    current_title = "songnew";
    new_song = true;
    ASSERT_EQ(save("Brand new", "n1\r\nn2"), SaveResult::saved);
    EXPECT_EQ(book(), before + song("BRAND NEW", "n1 \r\nn2 \r\n"));
    EXPECT_EQ(current_title, "BRAND NEW");
}

TEST_F(SongSaving, ThreeLinesWithoutAFinalBreakAreWrittenAsTheyStand) {
    write_file(paths.songbook(), "");
    new_song = true;
    ASSERT_EQ(save("Three", "one\r\ntwo\r\nthree"), SaveResult::saved);
    EXPECT_EQ(book(), "::::: THREE ::::: KEY=xx\r\n \r\none \r\ntwo \r\nthree \r\n");
}

TEST_F(SongSaving, HeadersOfOtherSongsAreCopiedByteForByte) {
    const std::string headers = "::::::::   Eight Colons:::::\r\n"
                                ":::::No Blank\r\n"
                                "  ::::: Indented ::::: KEY=G# capo 2\r\n"
                                "::::: /Hidden ::::: *****Label*****\r\n";
    write_file(paths.songbook(), headers + song("Edited", "e \r\n") + headers);
    current_title = "Edited";
    ASSERT_EQ(save("Edited", "f"), SaveResult::saved);
    EXPECT_EQ(book(), headers + song("Edited", "f \r\n") + headers);
}

TEST_F(SongSaving, CrBytesAreDroppedAndEveryLineEndIsCrLf) {
    write_file(paths.songbook(),
               "::::: A\rB :::::\nx\r\r\n" + song("Edit", "e \r\n") + "::::: C :::::\ny\rz\n");
    current_title = "Edit";
    ASSERT_EQ(save("Edit", "f"), SaveResult::saved);
    EXPECT_EQ(book(), "::::: AB :::::\r\nx\r\n" + song("Edit", "f \r\n") + "::::: C :::::\r\nyz\r\n");
}

TEST_F(SongSaving, CommentLinesStayWhereTheyStood) {
    write_file(paths.songbook(), ";top\r\n" + song("A", "a \r\n;between\r\n") + ";before B\r\n" +
                                     song("B", "b \r\n") + ";last, without line end");
    current_title = "A";
    ASSERT_EQ(save("A", "a2"), SaveResult::saved);
    EXPECT_EQ(book(), ";top\r\n" + song("A", "a2 \r\n") + ";between\r\n;before B\r\n" +
                          song("B", "b \r\n") + ";last, without line end");
}

TEST_F(SongSaving, CommentsInsideTheEditedSongFollowItsNewLines) {
    write_file(paths.songbook(), song("A", "a \r\n;note one\r\nb \r\n;note two\r\n") + song("B", ""));
    current_title = "A";
    ASSERT_EQ(save("A", "new"), SaveResult::saved);
    EXPECT_EQ(book(), song("A", "new \r\n;note one\r\n;note two\r\n") + song("B", ""));

    // The last song too, when it is written at the end.
    current_title = "B";
    ASSERT_EQ(save("B", "b"), SaveResult::saved);
    EXPECT_EQ(book(), song("A", "new \r\n;note one\r\n;note two\r\n") + song("B", "b \r\n"));
}

TEST_F(SongSaving, OnlyTheFirstOfSeveralSongsOfOneTitleIsReplaced) {
    const std::string second = song("TWIN ", "second \r\n");
    write_file(paths.songbook(), song("Twin", "first \r\n") + second + second);
    current_title = "twin";
    ASSERT_EQ(save("Twin", "edited"), SaveResult::saved);
    EXPECT_EQ(book(), song("Twin", "edited \r\n") + second + second);
}

TEST_F(SongSaving, ASongBehindTheEndMarkerIsNeverReplaced) {
    const std::string before = song("Front", "f \r\n") + "#*#*#\r\n" + song("Hidden away", "h \r\n");
    write_file(paths.songbook(), before);
    current_title = "Hidden away";
    EXPECT_EQ(save("Hidden away", "lost?"), SaveResult::song_not_found);
    expect_nothing_changed(before, "Hidden away");
}

TEST_F(SongSaving, ASongThatIsGoneIsReportedAndNothingIsWritten) {
    write_file(paths.songbook(), kBook);
    current_title = "Removed by hand";
    EXPECT_EQ(save("Removed by hand", "text"), SaveResult::song_not_found);
    expect_nothing_changed(kBook, "Removed by hand");
}

TEST_F(SongSaving, ANewSongMayNotTakeATitleThatIsThere) {
    const std::string before = kBook + "#*#*#\r\n" + song("Stored Away", "s \r\n");
    write_file(paths.songbook(), before);
    new_song = true;
    current_title = "songnew";
    for (std::string_view title : {"middle ", "LAST", "Stored away", "  First"}) {
        SCOPED_TRACE(title);
        EXPECT_EQ(save(title, "text"), SaveResult::title_taken);
        expect_nothing_changed(before, "songnew");
    }
}

TEST_F(SongSaving, ARenameMayNotTakeATitleThatIsThere) {
    write_file(paths.songbook(), kBook);
    current_title = "First";
    EXPECT_EQ(save("MIDDLE", "text"), SaveResult::title_taken);
    expect_nothing_changed(kBook, "First");
    EXPECT_EQ(save("last ", "text"), SaveResult::title_taken);
    expect_nothing_changed(kBook, "First");
}

TEST_F(SongSaving, KeepingTheTitleInOtherLettersIsNoRename) {
    const std::string twin = song("First", "twin \r\n");
    write_file(paths.songbook(), song("First", "a \r\n") + twin);
    current_title = "First";
    ASSERT_EQ(save("FIRST", "b"), SaveResult::saved);
    EXPECT_EQ(book(), song("FIRST", "b \r\n") + twin);
}

TEST_F(SongSaving, AnEmptyTitleIsNonameWhereverTheSongGoes) {
    write_file(paths.songbook(), kBook);
    current_title = "First";
    ASSERT_EQ(save("", "x"), SaveResult::saved);
    EXPECT_EQ(current_title, "NONAME");
    EXPECT_NE(book().find(song("NONAME", "x \r\n") + song("Middle", "")), std::string::npos);

    new_song = true;
    EXPECT_EQ(save("   ", "y"), SaveResult::title_taken);  // NONAME is there now
}

TEST_F(SongSaving, ATitleHoldingTheEndMarkerIsRefused) {
    write_file(paths.songbook(), kBook);
    current_title = "First";
    EXPECT_EQ(save("First #*#*#", "x"), SaveResult::title_has_end_marker);
    expect_nothing_changed(kBook, "First");
}

TEST_F(SongSaving, TheTitleIsCutTo99CharactersAndToItsFirstLine) {
    write_file(paths.songbook(), "");
    new_song = true;
    ASSERT_EQ(save(std::string(99, 't') + "cut", "x"), SaveResult::saved);
    EXPECT_EQ(current_title, std::string(99, 'T'));
    ASSERT_EQ(save("one line\r\nnot this", "x"), SaveResult::saved);
    EXPECT_EQ(current_title, "ONE LINE");
}

TEST_F(SongSaving, ATitleIsKnownAfterwardsAsTheSongbookGivesIt) {
    // A colon ends a title in a header; the next save must still find it.
    write_file(paths.songbook(), kBook);
    current_title = "First";
    ASSERT_EQ(save("  Psalm 23: The Lord", "a"), SaveResult::saved);
    EXPECT_EQ(current_title, "Psalm 23");
    ASSERT_EQ(save("  Psalm 23: The Lord", "b"), SaveResult::saved);
    EXPECT_NE(book().find(song("  Psalm 23: The Lord", "b \r\n") + song("Middle", "")),
              std::string::npos);
}

TEST_F(SongSaving, EditorTextOfAnyLengthIsSavedWhole) {
    write_file(paths.songbook(), kBook);
    std::string text;
    for (int i = 0; i < 400; ++i) text += std::string(60, static_cast<char>('a' + i % 26)) + "\r\n";
    text += std::string(25000, 'L');  // one line far beyond any buffer
    current_title = "Middle";
    ASSERT_EQ(save("Middle", text), SaveResult::saved);
    EXPECT_GT(book().size(), 50000U);
    EXPECT_EQ(load_editor_text(files, paths.songbook(), "Middle"), text);
}

TEST_F(SongSaving, LinesOfAnyLengthElsewhereAreCopiedWithoutNewBreaks) {
    // Lengths around the reader's 991-character cut, a comment cut in the
    // middle, and a header mark that only a cut makes a header.
    const std::string others = std::string(990, 'a') + "\r\n" + std::string(991, 'b') + "\r\n" +
                               std::string(992, 'c') + "\r\n" + std::string(5000, 'd') + "\r\n" +
                               ";" + std::string(3000, 'e') + "\r\n" + std::string(991, 'f') +
                               ";after the cut\r\n" + std::string(991, 'g') + "::::: Cut Song\r\n" +
                               std::string(2500, 'h') + "\r\n";
    const std::string next = "::::: Next :::::\r\n";
    write_file(paths.songbook(), song("Edit", "e \r\n") + next + others);
    current_title = "Edit";
    ASSERT_EQ(save("Edit", "new"), SaveResult::saved);
    EXPECT_EQ(book(), song("Edit", "new \r\n") + next + others);
}

TEST_F(SongSaving, BytesAfterACtrlZAreKeptAndNewSongsGoBeforeIt) {
    const std::string tail = "\x1a garbage ::::: Not A Song\r\n\x1a";
    const std::string next = "::::: Next :::::\r\nlast line";
    write_file(paths.songbook(), song("Edit", "e \r\n") + next + tail);
    current_title = "Edit";
    ASSERT_EQ(save("Edit", "f"), SaveResult::saved);
    EXPECT_EQ(book(), song("Edit", "f \r\n") + next + tail);

    new_song = true;
    ASSERT_EQ(save("Added", "n"), SaveResult::saved);
    EXPECT_EQ(book(), song("Edit", "f \r\n") + next + "\r\n" + song("ADDED", "n \r\n") + tail);
}

TEST_F(SongSaving, ALastLineWithoutLineEndStaysSoUnlessASongFollows) {
    const std::string b = song("B", "b \r\n") + "no line end";
    write_file(paths.songbook(), song("A", "a \r\n") + b);
    current_title = "A";
    ASSERT_EQ(save("A", "x"), SaveResult::saved);
    EXPECT_EQ(book(), song("A", "x \r\n") + b);

    new_song = true;
    ASSERT_EQ(save("C", "c"), SaveResult::saved);
    EXPECT_EQ(book(), song("A", "x \r\n") + b + "\r\n" + song("C", "c \r\n"));
}

struct Failure {
    const char* step;
    const char* file;
    SaveResult result;
};

TEST_F(SongSaving, AFailedStepChangesNothingAndSaysWhy) {
    const Failure failures[] = {
        {"read", "songbook.lyr", SaveResult::book_unreadable},
        {"write", "temp.lyr", SaveResult::temp_not_written},
        {"remove", "oldbook.lyr", SaveResult::backup_not_made},
        {"replace", "temp.lyr", SaveResult::not_replaced},
    };
    std::set<std::string_view> messages;
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.step);
        write_file(paths.songbook(), kBook);
        files.fail(f.step, f.file);
        current_title = "Middle";
        EXPECT_EQ(save("Middle", "edit"), f.result);
        EXPECT_EQ(book(), kBook);
        EXPECT_FALSE(file_exists(paths.temp()));
        EXPECT_EQ(current_title, "Middle");
        messages.insert(save_message(f.result));
    }
    EXPECT_EQ(messages.size(), std::size(failures));
    EXPECT_EQ(messages.count(""), 0U);
    EXPECT_EQ(save_message(SaveResult::saved), "");
}

TEST_F(SongSaving, EveryRefusalHasAMessage) {
    for (SaveResult r : {SaveResult::song_not_found, SaveResult::title_taken,
                         SaveResult::title_has_end_marker, SaveResult::backup_not_made}) {
        EXPECT_FALSE(save_message(r).empty());
    }
}

TEST_F(SongSaving, AMissingSongbookIsReportedAndNotCreated) {
    current_title = "Any";
    new_song = true;
    EXPECT_EQ(save("Any", "x"), SaveResult::book_unreadable);
    EXPECT_FALSE(file_exists(paths.songbook()));
    EXPECT_FALSE(file_exists(paths.temp()));
}

TEST_F(SongSaving, TheSongbookIsWholeAtEveryStepOfASave) {
    write_file(paths.songbook(), kBook);
    std::set<std::string> seen;
    files.after_each = [&] { seen.insert(book()); };
    current_title = "Middle";
    ASSERT_EQ(save("Middle", "edit"), SaveResult::saved);
    const std::set<std::string> expected = {kBook, book()};
    EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace lyro
