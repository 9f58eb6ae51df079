// Runs the real songdesk windows inside a test: the program runs on the
// test's thread, exactly as WinMain runs it, while a script on a second
// thread finds its windows by caption, presses buttons by posting commands,
// answers the real message boxes and reads what the controls show.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_files.h"
#include "ui/desk_state.h"

namespace lyro::test {

// How long a script waits for a window or a state before it gives up.
inline constexpr int kWaitMs = 10000;

class Driver {
public:
    Driver(DeskState& state, const std::atomic<bool>& running)
        : state_(state), running_(running) {}

    // Waits until the program has ended by itself; false after kWaitMs.
    bool wait_ended() const;

    // The top-level dialog or message box with this caption, once it is
    // visible; nullptr after kWaitMs.
    HWND wait_for(const char* caption, int ms = kWaitMs) const;
    // Whether no window with this caption appears within `ms`.
    bool stays_away(const char* caption, int ms) const;
    // Waits until `window` is gone; false after kWaitMs.
    bool wait_gone(HWND window) const;
    // Waits until `done` holds; false after `ms`.
    bool wait_until(const std::function<bool()>& done, int ms = kWaitMs) const;

    // Presses a button (or any command) of a dialog, as a click would.
    void press(HWND dialog, int id) const;
    // Answers a message box with IDYES, IDNO or IDOK.
    void answer(HWND box, int id) const;
    // Waits for the box with this caption, checks nothing, answers it.
    bool answer(const char* caption, int id) const;

    // The text of a message box.
    std::string box_text(HWND box) const;
    // The text of a control of a dialog.
    std::string text(HWND dialog, int id) const;
    // The items of the list box 4004 and of the song box 40007.
    std::vector<std::string> list_items(HWND library) const;
    std::vector<std::string> song_box_items(HWND library) const;
    // Puts a title into the song box's edit field, as typing it would.
    void choose(HWND library, const char* title) const;
    void select_list_item(HWND library, int index) const;

    // The library dialog, once it has filled itself (count label set).
    HWND library(int ms = kWaitMs) const;

    DeskState& state() const { return state_; }

    // The run's own profile section, as songserv and outside tools read it.
    int profile_int(const char* key) const { return state_.profile->read_int(key, -99); }
    void write_profile(const char* key, const char* value) const {
        state_.profile->write_string(key, value);
    }

private:
    DeskState& state_;
    const std::atomic<bool>& running_;
};

// One run of the program in a scratch folder. The script runs on its own
// thread; when it returns with the program still running (a failed
// expectation, say), every window is closed so that the run ends.
class DeskRun {
public:
    // A run with a profile of its own (win.ini in its scratch folder), so
    // that runs side by side do not meet there, and song requests polled
    // every few ticks instead of every 5 seconds.
    DeskRun();
    // Runs the program; returns its exit code.
    int run(const std::function<void(Driver&)>& script);

    int profile_int(const char* key) const { return state.profile->read_int(key, -99); }
    void write_profile(const char* key, const char* value) const {
        state.profile->write_string(key, value);
    }

    ScratchDir dir;
    DeskState state;

private:
    void close_everything();
    std::atomic<bool> running_{false};
    DWORD ui_thread_ = 0;
};

// A songbook of several songs: a hidden one and a label among them.
std::string sample_songbook();

}  // namespace lyro::test
