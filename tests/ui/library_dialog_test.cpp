// The library dialog on the real controls: the catalog, the list buttons,
// saving and loading the songlist, and the ways out of the dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/ui/desk_driver.h"
#include "ui/resource.h"

namespace lyro::test {
namespace {

using Items = std::vector<std::string>;

constexpr const char* kTwoSongList =
    ";SONG LIST FILE\r\nSONG01=COME THOU FOUNT\r\nKEYCHANGE01=2\r\n"
    "SONG02=AMAZING GRACE\r\nKEYCHANGE02=-3\r\n;END";

class LibraryDialog : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(run.state.files.songbook(), sample_songbook());
        run.write_profile("TERMINATE", "0");
    }
    void with_songlist(const char* text) { write_file(run.state.files.songlist(), text); }

    DeskRun run;
};

TEST_F(LibraryDialog, ShowHiddenSongsAddsThemAndTheCountStays) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        // Three songs, the label entry, and the hidden song counted too.
        EXPECT_EQ(d.song_box_items(library).size(), 4u);
        EXPECT_EQ(d.text(library, IDC_COUNT), "5");
        SendDlgItemMessageA(library, IDC_SHOW_HIDDEN, BM_SETCHECK, BST_CHECKED, 0);
        d.press(library, IDC_SHOW_HIDDEN);
        EXPECT_TRUE(d.wait_until([&] { return d.song_box_items(library).size() == 5; }));
        const Items items = d.song_box_items(library);
        EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const std::string& item) {
            return item.rfind("/QUIET HYMN", 0) == 0;
        }));
        EXPECT_EQ(d.text(library, IDC_COUNT), "5");
        SendDlgItemMessageA(library, IDC_SHOW_HIDDEN, BM_SETCHECK, BST_UNCHECKED, 0);
        d.press(library, IDC_SHOW_HIDDEN);
        EXPECT_TRUE(d.wait_until([&] { return d.song_box_items(library).size() == 4; }));
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

// A big songbook in the way real ones grow: titles that differ only in
// case, in accents or by an apostrophe or a hyphen, exact duplicates, hidden
// songs, labels (an empty one too). `box_input` gets what the catalog hands
// the song box, in file order: every title, hidden ones only when
// `show_hidden`, and every label.
struct BigBook {
    std::string text = ";a big songbook\r\n";
    Items shown;   // the box's titles and labels with hidden songs left out
    Items all;     // the same with hidden songs
    int entries = 0;
};

BigBook big_songbook(int songs) {
    static const char* const kFirst[] = {"Amazing", "amazing", "AMAZING", "O'er",   "Oer",
                                         "Co-op",   "Coop",    "co op",   "\xC9vening",
                                         "\xE9vening", "Evening", "Zion's", "zions", "10",
                                         "9",       "_under",  "[Bracket]"};
    static const char* const kSecond[] = {"Grace", "grace", "hymn", "Hymn", "", "of Praise"};
    BigBook book;
    for (int i = 0; i < songs; ++i) {
        if (i % 100 == 0) {
            const std::string label = i == 1000 ? "" : " Part " + std::to_string(i / 100) + " ";
            book.text += "*****" + label + "*****\r\n";
            book.shown.push_back(label);
            book.all.push_back(label);
            ++book.entries;
        }
        const int first = i % static_cast<int>(std::size(kFirst));
        const int second = i / static_cast<int>(std::size(kFirst));
        std::string title = kFirst[first];
        title += " ";
        title += kSecond[second % static_cast<int>(std::size(kSecond))];
        // Titles equal but for case come one after the other, and each comes
        // back exactly later on: the box's order of titles that compare
        // equal is its own, and a sort done elsewhere must match it.
        if (i % 7 != 0) title += " " + std::to_string(second / 6 % 25);
        if (i % 40 == 39) title = "/" + title;
        book.text += "::::: " + title + " ::::: KEY=G\r\nG<\r\nwords\r\n";
        // The header's title ends at the next ':', the blank before it kept.
        if (title.front() != '/') book.shown.push_back(title + " ");
        book.all.push_back(title + " ");
        ++book.entries;
    }
    book.text += "#*#*#\r\n::::: After The End ::::: KEY=G\r\n";
    return book;
}

struct WindowCloser {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

// The items of a sorted combo box, read with the wide messages.
Items combo_items(HWND combo) {
    Items items;
    const auto n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(n); ++i) {
        std::wstring wide(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)),
                          L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        std::string item(wide.size() * 2, '\0');
        const int got = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                            item.data(), static_cast<int>(item.size()), nullptr,
                                            nullptr);
        item.resize(static_cast<std::size_t>(std::max(got, 0)));
        items.push_back(item);
    }
    return items;
}

// The order that a sorted combo box of this system gives to `titles` added
// one by one, each placed as it comes.
Items sorted_by_a_combo_box(const Items& titles) {
    Window combo(CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_SIMPLE | CBS_SORT | WS_VSCROLL,
                                 0, 0, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr));
    if (!combo) return {};
    for (const std::string& title : titles) {
        SendMessageA(combo.get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    }
    return combo_items(combo.get());
}

// Empty when equal; else where they part, so that a failure names the item.
std::string first_difference(const Items& got, const Items& want) {
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    if (g == got.end() && w == want.end()) return "";
    return "item " + std::to_string(g - got.begin()) + " of " + std::to_string(got.size()) +
           " is \"" + (g == got.end() ? "(none)" : *g) + "\", wanted \"" +
           (w == want.end() ? "(none)" : *w) + "\" of " + std::to_string(want.size());
}

int song_box_count(HWND library) {
    return static_cast<int>(SendDlgItemMessageW(library, IDC_SONG_BOX, CB_GETCOUNT, 0, 0));
}

TEST_F(LibraryDialog, ABigSongbookFillsTheBoxWholeInTheSortedBoxOrder) {
    const BigBook book = big_songbook(3000);
    write_file(run.state.files.songbook(), book.text);
    with_songlist(kTwoSongList);
    run.run([&book](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        const std::string entries = std::to_string(book.entries);
        EXPECT_EQ(d.text(library, IDC_COUNT), entries);
        HWND combo = GetDlgItem(library, IDC_SONG_BOX);
        EXPECT_EQ(first_difference(combo_items(combo), sorted_by_a_combo_box(book.shown)), "");
        // The list page numbers the shown songs, labels left out.
        const std::string page = read_file(d.state().files.page());
        const int shown_songs = static_cast<int>(book.shown.size()) - (3000 / 100);
        EXPECT_NE(page.find("\n" + std::to_string(shown_songs) + " - "), std::string::npos);
        EXPECT_EQ(page.find("\n" + std::to_string(shown_songs + 1) + " - "), std::string::npos);

        SendDlgItemMessageA(library, IDC_SHOW_HIDDEN, BM_SETCHECK, BST_CHECKED, 0);
        d.press(library, IDC_SHOW_HIDDEN);
        const int all = static_cast<int>(book.all.size());
        ASSERT_TRUE(d.wait_until([&] { return song_box_count(library) == all; }));
        EXPECT_EQ(first_difference(combo_items(combo), sorted_by_a_combo_box(book.all)), "");
        EXPECT_EQ(d.text(library, IDC_COUNT), entries);

        // Back from the viewer, the box is filled again, whole and in order.
        SendDlgItemMessageA(library, IDC_SHOW_HIDDEN, BM_SETCHECK, BST_UNCHECKED, 0);
        d.press(library, IDC_SHOW_HIDDEN);
        d.choose(library, "AMAZING Grace 2");
        d.press(library, IDC_REVIEW);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        // The count label, written last by a fill, tells the new fill's end.
        SetDlgItemTextA(library, IDC_COUNT, ".");
        d.press(d.state().windows.viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_until([&] { return d.text(library, IDC_COUNT) == entries; }));
        EXPECT_EQ(song_box_count(library), static_cast<int>(book.shown.size()));
        EXPECT_EQ(first_difference(combo_items(combo), sorted_by_a_combo_box(book.shown)), "");
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST_F(LibraryDialog, ListButtonsWorkOnTheRealListBox) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 2; }));
        d.choose(library, "BLESSED ASSURANCE");
        d.press(library, IDC_TRANSFER);
        EXPECT_TRUE(d.wait_until([&] {
            return d.list_items(library) ==
                   Items{"COME THOU FOUNT", "AMAZING GRACE", "BLESSED ASSURANCE"};
        }));
        d.select_list_item(library, 2);
        d.press(library, IDC_MOVE_UP);
        EXPECT_TRUE(d.wait_until([&] {
            return d.list_items(library) ==
                   Items{"COME THOU FOUNT", "BLESSED ASSURANCE", "AMAZING GRACE"};
        }));
        d.select_list_item(library, 0);
        d.press(library, IDC_MOVE_DN);
        EXPECT_TRUE(d.wait_until([&] {
            return d.list_items(library) ==
                   Items{"BLESSED ASSURANCE", "COME THOU FOUNT", "AMAZING GRACE"};
        }));
        d.select_list_item(library, 0);
        d.press(library, IDC_DELETE);
        EXPECT_TRUE(d.wait_until([&] {
            return d.list_items(library) == Items{"COME THOU FOUNT", "AMAZING GRACE"};
        }));
        // Run from the selection opens the viewer on the selected entry with
        // its own key change.
        d.select_list_item(library, 1);
        d.press(library, IDC_RUN_SELECT);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        HWND viewer = d.state().windows.viewer;
        EXPECT_EQ(d.state().position.list_position, 1);
        EXPECT_EQ(d.state().position.key_offset, -3);
        EXPECT_EQ(d.state().position.single_song_mode, 0);
        d.press(viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(viewer));
        // Run Performance starts at the first entry.
        d.press(library, IDC_RUN);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        viewer = d.state().windows.viewer;
        EXPECT_EQ(d.state().position.list_position, 0);
        EXPECT_EQ(d.state().position.key_offset, 2);
        d.press(viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(viewer));
        // The list changed: Exit Program asks, and No stays.
        d.press(library, IDC_EXIT_PROGRAM);
        ASSERT_TRUE(d.answer("Songbook", IDNO));
        EXPECT_TRUE(IsWindow(library));
        d.press(library, IDC_EXIT_PROGRAM);
        HWND question = d.wait_for("Songbook");
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(d.box_text(question),
                  "You have changed the Songlist.\rAre you sure you wish to exit program?");
        d.answer(question, IDYES);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(run.profile_int("TERMINATE"), 1);
}

TEST_F(LibraryDialog, SaveListAnsweredNoKeepsTheFileAndYesWritesIt) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.choose(library, "blessed assurance");
        d.press(library, IDC_TRANSFER);
        d.press(library, IDC_SAVE_LIST);
        ASSERT_TRUE(d.answer("Rewrite Song List", IDNO));
        EXPECT_EQ(read_file(d.state().files.songlist()), kTwoSongList);
        // Save List counts the list as saved whatever the answer: Close Box
        // asks nothing now.
        d.press(library, IDC_SAVE_LIST);
        HWND question = d.wait_for("Rewrite Song List");
        ASSERT_NE(question, nullptr);
        d.answer(question, IDYES);
        d.press(library, IDC_CLOSE_BOX);
        EXPECT_TRUE(d.wait_gone(library));
        EXPECT_TRUE(d.stays_away("Songbook", 200));
        d.press(d.state().windows.main, IDM_QUIT);
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(read_file(run.state.files.songlist()),
              ";SONG LIST FILE\r\nSONG01=COME THOU FOUNT\r\nKEYCHANGE01=2\r\n"
              "SONG02=AMAZING GRACE\r\nKEYCHANGE02=-3\r\n"
              "SONG03=blessed assurance\r\nKEYCHANGE03=0\r\n;END");
}

TEST_F(LibraryDialog, LoadListAsksWithAListInMemory) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 2; }));
        d.select_list_item(library, 0);
        d.press(library, IDC_DELETE);
        ASSERT_TRUE(d.wait_until([&] { return d.list_items(library).size() == 1; }));
        d.press(library, IDC_LOAD_LIST);
        ASSERT_TRUE(d.answer("Load Song list", IDNO));
        EXPECT_EQ(d.list_items(library), Items{"AMAZING GRACE"});
        d.press(library, IDC_LOAD_LIST);
        ASSERT_TRUE(d.answer("Load Song list", IDYES));
        EXPECT_TRUE(d.wait_until([&] {
            return d.list_items(library) == Items{"COME THOU FOUNT", "AMAZING GRACE"};
        }));
        // Loading does not count as saving: the deletion is still unsaved.
        d.press(library, IDC_EXIT_PROGRAM);
        ASSERT_TRUE(d.answer("Songbook", IDYES));
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST_F(LibraryDialog, CloseBoxAskedNoStaysAndYesReturnsToTheMainWindow) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.choose(library, "AMAZING GRACE");
        d.press(library, IDC_TRANSFER);
        d.press(library, IDC_CLOSE_BOX);
        HWND question = d.wait_for("Songbook");
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(d.box_text(question),
                  "You have changed the Songlist.\rAre you sure you wish to exit screen?");
        d.answer(question, IDNO);
        EXPECT_TRUE(IsWindow(library));
        d.press(library, IDC_CLOSE_BOX);
        ASSERT_TRUE(d.answer("Songbook", IDYES));
        EXPECT_TRUE(d.wait_gone(library));
        EXPECT_EQ(d.state().windows.library, nullptr);
        // Song&list opens it again; a list is in memory, so loading asks.
        d.press(d.state().windows.main, IDM_SONGLIST);
        ASSERT_TRUE(d.answer("Load Song list", IDNO));
        library = d.library();
        ASSERT_NE(library, nullptr);
        EXPECT_TRUE(d.list_items(library).empty());
        d.press(library, IDC_EXIT_PROGRAM);
        ASSERT_TRUE(d.answer("Songbook", IDYES));
        EXPECT_TRUE(d.wait_ended());
    });
    EXPECT_EQ(run.profile_int("TERMINATE"), 1);
}

TEST_F(LibraryDialog, ReviewOfAnUnknownTitleOpensTheViewerSayingSongNotFound) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.choose(library, "NO SUCH SONG");
        d.press(library, IDC_REVIEW);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        EXPECT_EQ(d.text(library, IDC_STATUS), "Song Not Found");
        HWND viewer = d.state().windows.viewer;
        d.press(viewer, IDCANCEL);
        ASSERT_TRUE(d.wait_gone(viewer));
        d.choose(library, "AMAZING GRACE");
        d.press(library, IDC_REVIEW);
        EXPECT_TRUE(d.wait_until([&] { return d.text(library, IDC_STATUS) == " "; }));
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.viewer != nullptr; }));
        EXPECT_EQ(d.state().position.single_song_mode, 1);
        d.press(d.state().windows.viewer, IDCANCEL);
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

TEST_F(LibraryDialog, HelpAndNewSongAndEditSong) {
    with_songlist(kTwoSongList);
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        d.press(library, IDC_HELP_TEXT);
        HWND help = d.wait_for("Lyrovant Help");
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(d.box_text(help).rfind("Functions on left deal with single song\r", 0), 0u);
        d.answer(help, IDOK);
        d.press(library, IDC_NEW_SONG);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.editor != nullptr; }));
        EXPECT_EQ(d.state().song.title, "songnew");
        EXPECT_TRUE(d.state().new_song);
        d.press(d.state().windows.editor, IDCANCEL);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.editor == nullptr; }));
        d.choose(library, "COME THOU FOUNT");
        d.press(library, IDC_EDIT_SONG);
        ASSERT_TRUE(d.wait_until([&] { return d.state().windows.editor != nullptr; }));
        EXPECT_EQ(d.state().song.title, "COME THOU FOUNT");
        EXPECT_FALSE(d.state().new_song);
        d.press(d.state().windows.editor, IDCANCEL);
        d.press(library, IDC_EXIT_PROGRAM);
        EXPECT_TRUE(d.wait_ended());
    });
}

}  // namespace
}  // namespace lyro::test
