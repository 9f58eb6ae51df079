// The song editor's loading on the real dialog: what it shows, songs of any
// length, and the round trip that leaves the songbook byte for byte as it
// was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"

namespace lyro::test {
namespace {

constexpr const char* kEditorCaption = "Enter Song with < mark after last chord on each line";
constexpr const char* kOneSongList = ";SONG LIST FILE\r\nSONG01=AMAZING GRACE\r\nKEYCHANGE01=0\r\n;END";

constexpr const char* kHelpCaption = "EDIT SONGBOOK\r with the EXE Executable program.";
constexpr const char* kHelpText =
    "Put in the song title in the upper right box\r"
    "Make sure that you don't use the same name for two songs or\r"
    "one of them may get deleted when you edit\r"
    "Mark lines with chords using the less than < symbol, this will\r"
    "tell the computer which lines to transpose and the unmarked lines\r"
    "will be left alone.\r"
    "Give sufficient space between chords so that they can grow,\r"
    "A simple B chord could become F# in the right key and the MAJ/MIN\r"
    "symbols will get scooted over instead of written over but if you leave a\r"
    "a solitary space after the end of the chord, it might bleed into the next.\r"
    "The song library is placed in a file called SONGBOOK.LYR\r"
    "If you put this program on a disk or memory stick, make sure you\r"
    "copy the song libray and your songlist SONGLIST.TXT";

class EditorLoading : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songlist(), kOneSongList);
        run.write_profile("TERMINATE", "0");
    }
    void with_songbook(const std::string& text) {
        book = text;
        write_file(run.state.files.songbook(), text);
    }
    std::string songbook() const { return read_file(run.state.files.songbook()); }

    DeskRun run;
    std::string book;
};

// Opens the editor with Edit Song on `picked`, the song box's text, and
// waits until it has filled itself.
HWND edit_song(Driver& d, HWND library, const char* picked) {
    d.choose(library, picked);
    d.press(library, IDC_EDIT_SONG);
    HWND editor = d.wait_for(kEditorCaption);
    if (editor != nullptr) {
        d.wait_until([&] { return d.text(editor, IDC_E_TITLE) != "NONAME"; });
    }
    return editor;
}

// Opens the editor with New Song; nullptr when it does not open.
HWND new_song(Driver& d, HWND library) {
    d.press(library, IDC_NEW_SONG);
    return d.wait_for(kEditorCaption);
}

// Exit/Save without a change; true when the editor closed.
bool save_unchanged(Driver& d, HWND library, const char* title) {
    HWND editor = edit_song(d, library, title);
    if (editor == nullptr) return false;
    d.press(editor, IDOK);
    return d.wait_gone(editor);
}

TEST_F(EditorLoading, ShowsTheSongOrTheTemplateTextAndTheHelp) {
    with_songbook(sample_songbook());
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = edit_song(d, library, "Blessed Assurance");
        ASSERT_NE(editor, nullptr);
        // The title as the songbook stores it, not as it was typed.
        EXPECT_EQ(d.text(editor, IDC_E_TITLE), "BLESSED ASSURANCE");
        // A body written by hand loses nothing: no trailing blanks to take
        // off, and the label line is the song's own last line.
        EXPECT_EQ(d.text(editor, IDC_E_TEXT),
                  "D       A<\r\nBlessed assurance\r\n***** EVENING *****");
        EXPECT_EQ(d.text(library, IDC_STATUS), " ");
        // The key that the song's header names (KEY=D).
        EXPECT_EQ(d.text(editor, IDC_E_KEY), "D");
        d.press(editor, IDC_E_HELP);
        HWND help = d.wait_for(kHelpCaption);
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(d.box_text(help), kHelpText);
        d.answer(help, IDOK);
        EXPECT_TRUE(IsWindow(editor));
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));

        // A label entry is no song: the picked title and the template text.
        editor = edit_song(d, library, "***** EVENING *****");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(d.text(editor, IDC_E_TITLE), "***** EVENING *****");
        EXPECT_EQ(d.text(editor, IDC_E_TEXT), "Edit");
        EXPECT_EQ(d.text(editor, IDC_E_KEY), "");
        EXPECT_EQ(d.text(library, IDC_STATUS), "Song Not Found");
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), sample_songbook());
}

TEST_F(EditorLoading, SavingWithoutAChangeLeavesTheSongbookByteForByte) {
    const std::string long_line(1500, 'x');  // cut by the line reader, joined again
    with_songbook(";a comment that the rewrite keeps\r\n"
                  "::::: FIRST SONG ::::: KEY=xx\r\n"
                  " \r\n"
                  "A       E< \r\n"
                  "words with\ta tab and caf\xE9 \r\n"
                  " \r\n"
                  " \r\n" +
                  long_line + " \r\n"
                  "***** A LABEL ***** \r\n"
                  "; a note at the end of the song\r\n"
                  "::::: Second Song ::::: KEY=xx\r\n"
                  " \r\n"
                  "G< \r\n"
                  "second words \r\n"
                  "::::: LAST SONG ::::: KEY=xx\r\n"
                  " \r\n"
                  "last words \r\n");
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        // Picked as a click in the song box picks them: with the header's
        // blank after the title.
        const auto items = d.song_box_items(library);
        for (const char* picked : {"FIRST SONG ", "Second Song ", "LAST SONG "}) {
            EXPECT_NE(std::find(items.begin(), items.end(), picked), items.end()) << picked;
            EXPECT_TRUE(save_unchanged(d, library, picked)) << picked;
        }
        // Typed in the song box in other letters.
        EXPECT_TRUE(save_unchanged(d, library, "second song"));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), book);
}

// A song typed into the file by hand gets the writer's blanks at its first
// save, and from then on stays as it is; no line is lost on the way.
TEST_F(EditorLoading, HandWrittenSongTakesTheWritersFormOnceAndKeepsIt) {
    with_songbook(sample_songbook());
    std::string first_save;
    run.run([&](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(save_unchanged(d, library, "BLESSED ASSURANCE"));
        first_save = songbook();
        ASSERT_TRUE(save_unchanged(d, library, "BLESSED ASSURANCE"));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), first_save);
    for (const char* line : {" \r\nD       A< \r\nBlessed assurance \r\n***** EVENING ***** \r\n",
                             "::::: AMAZING GRACE ::::: KEY=G\r\n", "Come thou fount\r\n#*#*#\r\n"}) {
        EXPECT_NE(first_save.find(line), std::string::npos) << line;
    }
}

// Far more than the 20,000 characters of a fixed editor buffer, with a line
// longer than the line reader's 991.
std::string long_song_body(int lines) {
    std::string body = " \r\n" + std::string(2000, 'y') + " \r\n";
    for (int i = 1; i <= lines; ++i) {
        body += "line " + std::to_string(i) + " of a very long song, every word of it kept \r\n";
    }
    return body;
}

TEST_F(EditorLoading, SongLongerThanAnyBufferIsLoadedAndSavedWhole) {
    const std::string head = "::::: LONG SONG ::::: KEY=xx\r\n";
    const std::string tail = "::::: AFTER ::::: KEY=xx\r\n \r\nafter \r\n";
    const std::string body = long_song_body(600);
    ASSERT_GT(body.size(), 30000u);
    with_songbook(head + body + tail);
    run.run([&](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = edit_song(d, library, "LONG SONG");
        ASSERT_NE(editor, nullptr);
        const std::string shown = d.text(editor, IDC_E_TEXT);
        EXPECT_EQ(shown.substr(0, 2000), std::string(2000, 'y'));
        EXPECT_NE(shown.find("line 600 of a very long song, every word of it kept"),
                  std::string::npos);
        // Typing at the end of the text: the box takes more than its default.
        const auto end = static_cast<WPARAM>(shown.size());
        SendDlgItemMessageA(editor, IDC_E_TEXT, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendDlgItemMessageA(editor, IDC_E_TEXT, EM_REPLACESEL, TRUE,
                            reinterpret_cast<LPARAM>("\r\nthe added line"));
        d.press(editor, IDC_E_SAVE);
        ASSERT_TRUE(d.wait_until([&] { return songbook() != book; }));
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        EXPECT_EQ(songbook(), head + body + "the added line \r\n" + tail);
        // Loaded and saved again, nothing is lost or added.
        EXPECT_TRUE(save_unchanged(d, library, "LONG SONG"));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), head + body + "the added line \r\n" + tail);
}

TEST_F(EditorLoading, TitleBoxTakesNoMoreThanASaveKeeps) {
    with_songbook(sample_songbook());
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = new_song(d, library);
        ASSERT_NE(editor, nullptr);
        SendDlgItemMessageA(editor, IDC_E_TITLE, EM_SETSEL, 0, -1);
        const std::string typed(120, 'T');
        SendDlgItemMessageA(editor, IDC_E_TITLE, EM_REPLACESEL, TRUE,
                            reinterpret_cast<LPARAM>(typed.c_str()));
        EXPECT_EQ(d.text(editor, IDC_E_TITLE), std::string(99, 'T'));
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

// The x of the character at `index` of an edit control, as it draws it.
int x_of(HWND edit, int index) {
    const LRESULT point = SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    return static_cast<short>(LOWORD(point));
}

TEST_F(EditorLoading, AChordTypedAboveItsSyllableStandsOverIt) {
    with_songbook(sample_songbook());
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = new_song(d, library);
        ASSERT_NE(editor, nullptr);
        HWND text = GetDlgItem(editor, IDC_E_TEXT);
        SendMessageA(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        // Typed as a user types: the chord line, Enter, the lyric.
        const std::string chords = "G       C     D7<";
        const std::string lyric = "Amazing grace how sweet";
        for (char c : chords + "\r" + lyric) SendMessageA(text, WM_CHAR, static_cast<WPARAM>(c), 0);
        ASSERT_EQ(d.text(editor, IDC_E_TEXT), chords + "\r\n" + lyric);
        // C over the g of "grace", D7 over the h of "how": the same x in a
        // fixed-pitch face, another x in any proportional one.
        const int lyric_start = static_cast<int>(chords.size()) + 2;
        for (int column : {8, 14}) {
            EXPECT_EQ(x_of(text, column), x_of(text, lyric_start + column)) << "column " << column;
        }
        EXPECT_GT(x_of(text, 14), x_of(text, 8));
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

}  // namespace
}  // namespace lyro::test
