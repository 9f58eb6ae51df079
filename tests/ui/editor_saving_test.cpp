// The song editor's saves on the real dialog: a new song saved twice, a
// renamed song, the refusals, and a save that the folder will not take.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "library/song_saving.h"
#include "tests/ui/desk_driver.h"
#include "ui/resource.h"

namespace lyro::test {
namespace {

constexpr const char* kEditorCaption = "Enter Song with < mark after last chord on each line";
constexpr const char* kOneSongList = ";SONG LIST FILE\r\nSONG01=AMAZING GRACE\r\nKEYCHANGE01=0\r\n;END";

// Three songs as the editor writes them, after a comment and a free-text
// line, with no end marker: a new song goes to the end and into the catalog.
constexpr const char* kBook =
    ";songbook for the editor tests\r\n"
    "Songs for Sunday:\r\n"
    "::::: AMAZING GRACE ::::: KEY=xx\r\n"
    " \r\n"
    "G          C     G< \r\n"
    "Amazing grace, how sweet the sound \r\n"
    "::::: BLESSED ASSURANCE ::::: KEY=xx\r\n"
    " \r\n"
    "D       A< \r\n"
    "Blessed assurance \r\n"
    "::::: COME THOU FOUNT ::::: KEY=xx\r\n"
    " \r\n"
    "E< \r\n"
    "Come thou fount \r\n";

class EditorSaving : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songbook(), kBook);
        write_file(run.state.files.songlist(), kOneSongList);
        run.write_profile("TERMINATE", "0");
    }
    std::string songbook() const { return read_file(run.state.files.songbook()); }

    DeskRun run;
};

// Opens the editor from the library dialog: on `title` with Edit Song, or
// on a new song when `title` is null. Waits until it shows the song.
HWND open_editor(Driver& d, HWND library, const char* title) {
    if (title != nullptr) d.choose(library, title);
    d.press(library, title != nullptr ? IDC_EDIT_SONG : IDC_NEW_SONG);
    HWND editor = d.wait_for(kEditorCaption);
    if (editor != nullptr && title != nullptr) {
        d.wait_until([&] { return d.text(editor, IDC_E_TITLE) == title; });
    }
    return editor;
}

void type(HWND editor, int id, const std::string& text) {
    SetDlgItemTextA(editor, id, text.c_str());
}

// Waits for the "SAVE SONG" box, checks its text and answers it.
void expect_save_box(Driver& d, std::string_view text) {
    HWND box = d.wait_for("SAVE SONG");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(d.box_text(box), text);
    d.answer(box, IDOK);
}

// Whether the song box lists `title`; its items carry the header's blank
// after the title.
bool has_item(const std::vector<std::string>& items, const std::string& title) {
    return std::any_of(items.begin(), items.end(), [&](std::string item) {
        item.erase(item.find_last_not_of(' ') + 1);
        return item == title;
    });
}

TEST_F(EditorSaving, NewSongSavedThenChangedAndSavedAgainIsStoredOnce) {
    run.run([this](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, nullptr);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(d.text(editor, IDC_E_TITLE), "NONAME");
        EXPECT_EQ(d.text(editor, IDC_E_TEXT), "Edit");
        type(editor, IDC_E_TITLE, "Shall We Gather");
        type(editor, IDC_E_TEXT, "C        G<\r\nShall we gather\r\nat the river");
        d.press(editor, IDC_E_SAVE);
        // The flag goes off last, after the songbook and the song box.
        ASSERT_TRUE(d.wait_until([&] { return !d.state().new_song; }));
        EXPECT_NE(songbook(), kBook);
        EXPECT_TRUE(has_item(d.song_box_items(library), "SHALL WE GATHER"));
        type(editor, IDC_E_TEXT, "C        G<\r\nShall we gather\r\nby the river");
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), std::string(kBook) +
                              "::::: SHALL WE GATHER ::::: KEY=xx\r\n"
                              " \r\n"
                              "C        G< \r\n"
                              "Shall we gather \r\n"
                              "by the river \r\n");
}

TEST_F(EditorSaving, RenamedSongStaysInPlaceAndTheSongBoxShowsItAtOnce) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "BLESSED ASSURANCE");
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TITLE, "Blessed Assurance Jesus Is Mine");
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        // Rebuilt by the save itself, before the editor closed.
        const auto items = d.song_box_items(library);
        EXPECT_TRUE(has_item(items, "Blessed Assurance Jesus Is Mine"));
        EXPECT_FALSE(has_item(items, "BLESSED ASSURANCE"));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    std::string expected = kBook;
    const std::string old_header = "::::: BLESSED ASSURANCE ::::: KEY=xx";
    expected.replace(expected.find(old_header), old_header.size(),
                     "::::: Blessed Assurance Jesus Is Mine ::::: KEY=xx");
    EXPECT_EQ(songbook(), expected);
    EXPECT_EQ(read_file(run.state.files.oldbook()), kBook);
}

TEST_F(EditorSaving, NonameIsRefusedAndCancelLeavesTheSongbookUntouched) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, nullptr);
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TEXT, "some words");
        for (int command : {IDOK, IDC_E_SAVE}) {
            d.press(editor, command);
            expect_save_box(d, "Please Enter Name of Song");
            EXPECT_TRUE(IsWindow(editor));
            EXPECT_EQ(d.text(editor, IDC_E_TEXT), "some words");
        }
        EXPECT_TRUE(d.state().new_song);
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        EXPECT_EQ(d.state().windows.editor, nullptr);
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), kBook);
    EXPECT_FALSE(file_exists(run.state.files.oldbook()));
    EXPECT_FALSE(file_exists(run.state.files.temp()));
}

TEST_F(EditorSaving, TitleOfAnotherSongIsRefusedForRenamedAndNewSongs) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "AMAZING GRACE");
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TITLE, "come thou fount");
        type(editor, IDC_E_TEXT, "changed words");
        d.press(editor, IDOK);
        expect_save_box(d, save_message(SaveResult::title_taken));
        ASSERT_TRUE(IsWindow(editor));
        EXPECT_EQ(d.text(editor, IDC_E_TITLE), "come thou fount");
        EXPECT_EQ(d.text(editor, IDC_E_TEXT), "changed words");
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));

        editor = open_editor(d, library, nullptr);
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TITLE, "Amazing Grace ");
        d.press(editor, IDC_E_SAVE);
        expect_save_box(d, save_message(SaveResult::title_taken));
        EXPECT_TRUE(d.state().new_song);  // still to be added
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), kBook);
}

TEST_F(EditorSaving, SaveThatTheFolderRefusesSaysSoAndKeepsTheText) {
    // temp.lyr cannot be made where a folder of that name stands.
    const std::filesystem::path blocker = run.state.files.temp();
    std::filesystem::create_directory(blocker);
    write_file((blocker / "keep").string(), "x");
    run.run([&blocker](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "AMAZING GRACE");
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TEXT, "G<\r\nAmazing grace, how sweet");
        for (int command : {IDC_E_SAVE, IDOK}) {
            d.press(editor, command);
            expect_save_box(d, save_message(SaveResult::temp_not_written));
            ASSERT_TRUE(IsWindow(editor));
            EXPECT_EQ(d.text(editor, IDC_E_TITLE), "AMAZING GRACE");
            EXPECT_EQ(d.text(editor, IDC_E_TEXT), "G<\r\nAmazing grace, how sweet");
        }
        // Once the folder takes the file, the same text is saved.
        std::filesystem::remove_all(blocker);
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    std::string expected = kBook;
    const std::string old_body = "G          C     G< \r\nAmazing grace, how sweet the sound \r\n";
    expected.replace(expected.find(old_body), old_body.size(),
                     "G< \r\nAmazing grace, how sweet \r\n");
    EXPECT_EQ(songbook(), expected);
}

// Another program holds the songbook open for reading only: it can be
// read, but not replaced.
TEST_F(EditorSaving, SongbookHeldOpenElsewhereIsReportedAndLeftAsItWas) {
    run.run([this](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "COME THOU FOUNT");
        ASSERT_NE(editor, nullptr);
        type(editor, IDC_E_TEXT, "new words");
        HANDLE held = CreateFileA(run.state.files.songbook().c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        d.press(editor, IDOK);
        HWND box = d.wait_for("SAVE SONG");
        CloseHandle(held);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(d.box_text(box), save_message(SaveResult::not_replaced));
        d.answer(box, IDOK);
        ASSERT_TRUE(IsWindow(editor));
        EXPECT_EQ(d.text(editor, IDC_E_TEXT), "new words");
        d.press(editor, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(songbook(), kBook);
    EXPECT_FALSE(file_exists(run.state.files.temp()));
}

// The library dialog stays usable beneath the editor; choosing another song
// there must not change which song the open editor saves.
TEST_F(EditorSaving, EditSongPressedBeneathAnOpenEditorDoesNotRedirectItsSave) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "AMAZING GRACE");
        ASSERT_NE(editor, nullptr);
        d.choose(library, "COME THOU FOUNT");
        d.press(library, IDC_EDIT_SONG);
        ASSERT_TRUE(d.wait_until([&] { return d.state().song.title == "COME THOU FOUNT"; }));
        type(editor, IDC_E_TEXT, "grace words");
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    std::string expected = kBook;
    const std::string old_body = "G          C     G< \r\nAmazing grace, how sweet the sound \r\n";
    expected.replace(expected.find(old_body), old_body.size(), "grace words \r\n");
    EXPECT_EQ(songbook(), expected);
}

TEST_F(EditorSaving, TheKeyBoxShowsTheSongsKeyAndASaveKeepsIt) {
    std::string book = kBook;
    const std::string old_header = "::::: AMAZING GRACE ::::: KEY=xx";
    book.replace(book.find(old_header), old_header.size(), "::::: AMAZING GRACE ::::: KEY=G");
    write_file(run.state.files.songbook(), book);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND editor = open_editor(d, library, "AMAZING GRACE");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(d.text(editor, IDC_E_KEY), "G");
        d.press(editor, IDC_E_SAVE);  // saved unchanged: the key stays
        EXPECT_TRUE(d.wait_until([&] {
            return read_file(d.state().files.songbook()).find("::::: AMAZING GRACE ::::: KEY=G\r\n") !=
                   std::string::npos;
        }));
        type(editor, IDC_E_KEY, "Ab");
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));

        // A song whose header names no key shows an empty box and keeps "xx".
        editor = open_editor(d, library, "BLESSED ASSURANCE");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(d.text(editor, IDC_E_KEY), "");
        d.press(editor, IDOK);
        ASSERT_TRUE(d.wait_gone(editor));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_NE(songbook().find("::::: AMAZING GRACE ::::: KEY=Ab\r\n"), std::string::npos);
    EXPECT_NE(songbook().find("::::: BLESSED ASSURANCE ::::: KEY=xx\r\n"), std::string::npos);
}

}  // namespace
}  // namespace lyro::test
