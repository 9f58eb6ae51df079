// desk_fill: how long the real library dialog takes to show a full song box
// (bench/desk/run.sh). It writes a songbook into FOLDER, starts songdesk
// there, and drives its windows from outside as a user would:
//
//   desk_fill SONGDESK FOLDER SONGS KIND REPEATS
//
// KIND is "plain" (the benchmarks' songbook of 40-line songs, bench/
// songbook_maker.h) or "long" (titles of 99 characters, every tenth one a
// duplicate of the one before). Each figure is the median of REPEATS runs,
// in ms, from the command to the moment songdesk answers with the whole
// catalog in the box (CB_GETCOUNT) and in the count label:
//   open    Close Box, then Song&list posted to the main window
//   viewer  Cancel posted to a viewer opened by Review
//   save    Save Update posted to an editor opened by Edit Song
// The box is read whole once, and every title checked to be there.
// Prints "RESULT songs kind open viewer save start checked" on success;
// exits 1 when a window did not come or go in time.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/songbook_maker.h"
#include "ui/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kLibraryCaption = "List of Songs Available";
constexpr const char* kEditorCaption = "Enter Song with < mark after last chord on each line";
// The dialogs fill themselves after they show; a big songbook before this
// work took a minute and more for each fill.
constexpr int kFillLimitMs = 600000;
constexpr int kWindowLimitMs = 30000;

// The songbook of one case, and what the song box and the count label must
// show once it is read (hidden songs stay out of the box).
struct Book {
    std::string text;
    std::vector<std::string> box_items;  // as the box holds them: unsorted here
    int catalog_count = 0;
};

// A title as the catalog cuts it from its header "::::: T ::::: KEY=xx":
// up to the next ':', so the blank before the closing mark belongs to it.
std::string as_cut(const std::string& title) { return title + " "; }

void add_song(Book& book, const std::string& title) {
    book.text += "::::: " + title + " ::::: KEY=xx\r\n \r\n";
    for (int line = 2; line < bench::kLinesPerSong; ++line) {
        book.text += bench::body_line(line);
        book.text += "\r\n";
    }
    ++book.catalog_count;
    if (title.front() != '/') book.box_items.push_back(as_cut(title));
}

void add_label(Book& book, int part) {
    const std::string text = " Part " + std::to_string(part) + " ";
    book.text += "*****" + text + "*****\r\n";
    ++book.catalog_count;
    book.box_items.push_back(text);
}

// The song that Review and Edit Song pick: the song box's edit field gives
// them 49 characters, so in the book of long titles this one song is short.
std::string picked_title() { return "Evening hymn picked for the benchmark"; }

// 99 characters: a running number and its words, then filler words; every
// tenth title repeats the one before it, and every 50th song is hidden.
std::string long_title(int i) {
    const int n = (i % 10 == 9) ? i - 1 : i;
    std::string title = (i % 50 == 49) ? "/" : "";
    title += "Hymn " + std::to_string(n * 7919 % 100000) + " of the evening service, ";
    static const char* const kFill[] = {"with all the verses ", "sung by the choir ",
                                        "and the people together "};
    for (int k = 0; title.size() < 99; ++k) title += kFill[(n + k) % 3];
    title.resize(99);
    if (title.back() == ' ') title.back() = '.';
    return title;
}

Book make_book(int songs, bool long_titles) {
    Book book;
    book.text = "Songbook for the library dialog benchmark\r\n";
    for (int i = 0; i < songs; ++i) {
        if (i % 100 == 0) add_label(book, i / 100);
        if (i == songs / 2) add_song(book, picked_title());
        else add_song(book, long_titles ? long_title(i) : bench::song_title(i));
    }
    book.text += "#*#*#\r\n";
    return book;
}

bool write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// songdesk's windows are told from those of other programs on the display
// by their process.
struct Search {
    DWORD process;
    const char* caption;  // nullptr: the viewer, known by its controls
    HWND found = nullptr;
};

bool ours(HWND window, DWORD process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == process && IsWindowVisible(window);
}

BOOL CALLBACK match(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !ours(window, search.process)) return TRUE;
    if (search.caption) {
        char caption[128] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (std::string(caption) != search.caption) return TRUE;
    } else if (!GetDlgItem(window, IDC_V_NEXT_SONG) || !GetDlgItem(window, IDC_V_PAGE_DOWN)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND find_dialog(DWORD process, const char* caption) {
    Search search{process, caption};
    EnumWindows(match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool wait_until(const std::function<bool()>& done, int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

HWND wait_dialog(DWORD process, const char* caption) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_dialog(process, caption)) != nullptr; },
               kWindowLimitMs);
    return found;
}

// Asked of songdesk's thread, which answers once it is back in its message
// loop: during a fill, these wait for the fill's end.
std::string text_of(HWND dialog, int id) {
    wchar_t text[256] = {};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, 256,
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kFillLimitMs, &result))
        return "?";
    std::string ascii;
    for (const wchar_t* c = text; *c; ++c) ascii += static_cast<char>(*c);
    return ascii;
}

int box_count(HWND library) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(GetDlgItem(library, IDC_SONG_BOX), CB_GETCOUNT, 0, 0, SMTO_NORMAL,
                             kFillLimitMs, &count))
        return -1;
    return static_cast<int>(count);
}

void set_text(HWND dialog, int id, const char* text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Waits until the box and the count label show the whole catalog.
bool wait_full(HWND library, const Book& book) {
    const std::string count = std::to_string(book.catalog_count);
    const int items = static_cast<int>(book.box_items.size());
    return wait_until(
        [&] { return text_of(library, IDC_COUNT) == count && box_count(library) == items; },
        kFillLimitMs);
}

// Every item of the box, read with the wide messages (songdesk's window is
// ANSI; the system converts), against the titles that the songbook holds.
bool box_holds_every_title(HWND library, const Book& book) {
    HWND combo = GetDlgItem(library, IDC_SONG_BOX);
    std::map<std::string, int> missing;
    for (const std::string& item : book.box_items) ++missing[item];
    const int n = box_count(library);
    std::vector<wchar_t> buffer;
    for (int i = 0; i < n; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) return false;
        buffer.assign(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(buffer.data()));
        std::string item;
        for (const wchar_t* c = buffer.data(); *c; ++c) item += static_cast<char>(*c);
        if (--missing[item] < 0) return false;
    }
    return std::all_of(missing.begin(), missing.end(), [](const auto& m) { return m.second == 0; });
}

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// Each measure returns the ms, or a negative number when something failed;
// `library` is the library dialog, which open replaces.

double measure_open(DWORD process, HWND& library, const Book& book) {
    HWND main = GetWindow(library, GW_OWNER);
    PostMessageA(library, WM_COMMAND, IDC_CLOSE_BOX, 0);
    if (!wait_until([&] { return !IsWindow(library) || !IsWindowVisible(library); },
                    kWindowLimitMs))
        return -1;
    const auto start = Clock::now();
    PostMessageA(main, WM_COMMAND, IDM_SONGLIST, 0);
    library = wait_dialog(process, kLibraryCaption);
    if (!library || !wait_full(library, book)) return -1;
    return ms_since(start);
}

double measure_viewer(DWORD process, HWND library, const Book& book) {
    set_text(library, IDC_SONG_BOX, picked_title().c_str());
    PostMessageA(library, WM_COMMAND, IDC_REVIEW, 0);
    HWND viewer = wait_dialog(process, nullptr);
    if (!viewer) return -1;
    // Filled after it shows; its label holds a placeholder until then.
    if (!wait_until([&] { return text_of(viewer, IDC_V_TITLE) != "title"; }, kWindowLimitMs))
        return -1;
    // Emptied here, the count label tells the refilled box from the old one.
    set_text(library, IDC_COUNT, ".");
    const auto start = Clock::now();
    PostMessageA(viewer, WM_COMMAND, IDCANCEL, 0);
    if (!wait_full(library, book)) return -1;
    return ms_since(start);
}

double measure_save(DWORD process, HWND library, const Book& book) {
    set_text(library, IDC_SONG_BOX, picked_title().c_str());
    PostMessageA(library, WM_COMMAND, IDC_EDIT_SONG, 0);
    HWND editor = wait_dialog(process, kEditorCaption);
    if (!editor) return -1;
    if (!wait_until([&] { return text_of(editor, IDC_E_TITLE) != "NONAME"; }, kWindowLimitMs))
        return -1;
    set_text(library, IDC_COUNT, ".");
    const auto start = Clock::now();
    PostMessageA(editor, WM_COMMAND, IDC_E_SAVE, 0);
    if (!wait_full(library, book)) return -1;
    const double ms = ms_since(start);
    PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    if (!wait_until([&] { return !IsWindow(editor); }, kWindowLimitMs)) return -1;
    return ms;
}

struct Desk {
    PROCESS_INFORMATION info{};
    ~Desk() {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
};

int fail(const char* what) {
    std::printf("FAILED %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::puts("usage: desk_fill SONGDESK FOLDER SONGS plain|long REPEATS");
        return 2;
    }
    const std::string desk_path = argv[1];
    const std::string folder = argv[2];
    const int songs = std::atoi(argv[3]);
    const std::string kind = argv[4];
    const int repeats = std::max(1, std::atoi(argv[5]));
    const Book book = make_book(songs, kind == "long");
    if (!write_file(folder + "\\songbook.lyr", book.text) ||
        !write_file(folder + "\\songlist.txt", ";SONG LIST FILE\r\n;END"))
        return fail("writing the songbook");

    Desk desk;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string command = "\"" + desk_path + "\"";
    const auto started = Clock::now();
    if (!CreateProcessA(desk_path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &desk.info))
        return fail("starting songdesk");
    const DWORD process = desk.info.dwProcessId;
    HWND library = wait_dialog(process, kLibraryCaption);
    if (!library || !wait_full(library, book)) return fail("the first fill");
    const double start_ms = ms_since(started);
    const bool checked = box_holds_every_title(library, book);

    std::vector<double> open, viewer, save;
    for (int r = 0; r < repeats; ++r) {
        open.push_back(measure_open(process, library, book));
        if (open.back() < 0) return fail("open");
        viewer.push_back(measure_viewer(process, library, book));
        if (viewer.back() < 0) return fail("viewer");
        save.push_back(measure_save(process, library, book));
        if (save.back() < 0) return fail("save");
    }
    PostMessageA(library, WM_COMMAND, IDC_EXIT_PROGRAM, 0);
    std::printf("RESULT %d %s %.0f %.0f %.0f %.0f %s\n", songs, kind.c_str(), median(open),
                median(viewer), median(save), start_ms, checked ? "all" : "LOST");
    return 0;
}
