// The in-process driver of the real songdesk windows; see desk_driver.h.
#include "tests/ui/desk_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "library/songbook.h"
#include "platform/ini_file_profile.h"
#include "ui/main_window.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro::test {

namespace {

constexpr int kPollMs = 20;

// The static text of a message box carries this identifier.
constexpr int kMessageBoxTextId = 0xFFFF;

// A dialog of this process with the caption: the tests of other programs
// run beside this one on the same display, with windows of the same names.
HWND own_dialog(const char* caption) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", caption); w != nullptr;
         w = FindWindowExA(nullptr, w, "#32770", caption)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId()) return w;
    }
    return nullptr;
}

}  // namespace

HWND Driver::wait_for(const char* caption, int ms) const {
    HWND found = nullptr;
    wait_until(
        [&] {
            found = own_dialog(caption);
            return found != nullptr && IsWindowVisible(found);
        },
        ms);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

bool Driver::stays_away(const char* caption, int ms) const {
    return !wait_until([&] { return own_dialog(caption) != nullptr; }, ms);
}

bool Driver::wait_gone(HWND window) const {
    return wait_until([&] { return !IsWindow(window); });
}

bool Driver::wait_until(const std::function<bool()>& done, int ms) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return true;
}

bool Driver::wait_ended() const {
    return wait_until([&] { return !running_.load(); });
}

void Driver::press(HWND dialog, int id) const {
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void Driver::answer(HWND box, int id) const {
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
    wait_gone(box);
}

bool Driver::answer(const char* caption, int id) const {
    HWND box = wait_for(caption);
    if (box == nullptr) return false;
    answer(box, id);
    return true;
}

std::string Driver::box_text(HWND box) const {
    return control_text(GetDlgItem(box, kMessageBoxTextId));
}

std::string Driver::text(HWND dialog, int id) const {
    return control_text(GetDlgItem(dialog, id));
}

std::vector<std::string> Driver::list_items(HWND library) const {
    WinListBox box(GetDlgItem(library, IDC_PERF_LIST));
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i) items.push_back(box.text(i));
    return items;
}

std::vector<std::string> Driver::song_box_items(HWND library) const {
    HWND combo = GetDlgItem(library, IDC_SONG_BOX);
    std::vector<std::string> items;
    const int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        // The box may be refilled between two of these calls (the dialog
        // runs on its own thread): a vanished item ends the reading, and the
        // buffer holds the longest item the songbook reader can deliver, so
        // an item that changed in between cannot overrun it.
        const auto length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) break;
        std::string item(std::max<std::size_t>(static_cast<std::size_t>(length), kBookLineMax) + 1,
                         '\0');
        const auto copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                         reinterpret_cast<LPARAM>(item.data()));
        if (copied < 0) break;
        item.resize(std::strlen(item.c_str()));
        items.push_back(item);
    }
    return items;
}

void Driver::choose(HWND library, const char* title) const {
    SetDlgItemTextA(library, IDC_SONG_BOX, title);
}

void Driver::select_list_item(HWND library, int index) const {
    SendDlgItemMessageA(library, IDC_PERF_LIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

HWND Driver::library(int ms) const {
    HWND dialog = wait_for("List of Songs Available", ms);
    if (dialog == nullptr) return nullptr;
    wait_until([&] { return text(dialog, IDC_COUNT) != "."; }, ms);
    return dialog;
}

// Polled on every 4th tick: about 5 times a second.
constexpr int kTestTicksBetweenPolls = 3;

DeskRun::DeskRun() {
    state.files.dir = dir.path();
    state.profile = std::make_unique<IniFileProfile>(dir.file("win.ini"), kProfileSection);
    state.requests.ticks_between_polls = kTestTicksBetweenPolls;
}

int DeskRun::run(const std::function<void(Driver&)>& script) {
    ui_thread_ = GetCurrentThreadId();
    running_ = true;
    std::thread driver_thread([this, &script] {
        Driver driver(state, running_);
        script(driver);
        close_everything();
    });
    const int code = run_songdesk(state, GetModuleHandleA(nullptr), SW_SHOW);
    running_ = false;
    driver_thread.join();
    return code;
}

namespace {

// Asks an enabled dialog to go away: No, OK or Cancel, whichever it has.
BOOL CALLBACK dismiss_dialog(HWND window, LPARAM) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowEnabled(window)) {
        for (int id : {IDNO, IDOK, IDCANCEL}) {
            PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
        }
    }
    return TRUE;
}

}  // namespace

// Answers or cancels whatever is still open, innermost first, and asks the
// main window to go, until the program has ended.
void DeskRun::close_everything() {
    for (int round = 0; running_ && round < 200; ++round) {
        EnumThreadWindows(ui_thread_, dismiss_dialog, 0);
        if (state.windows.main) PostMessageA(state.windows.main, WM_CLOSE, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string sample_songbook() {
    return ";songbook for the UI tests\r\n"
           "::::: AMAZING GRACE ::::: KEY=G\r\n"
           " \r\n"
           "G          C     G<\r\n"
           "Amazing grace, how sweet the sound\r\n"
           "::::: BLESSED ASSURANCE ::::: KEY=D\r\n"
           "D       A<\r\n"
           "Blessed assurance\r\n"
           "***** EVENING *****\r\n"
           "::::: /QUIET HYMN ::::: KEY=C\r\n"
           "C<\r\n"
           "hidden words\r\n"
           "::::: COME THOU FOUNT ::::: KEY=E\r\n"
           "E<\r\n"
           "Come thou fount\r\n"
           "#*#*#\r\n";
}

}  // namespace lyro::test
