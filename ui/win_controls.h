// The Win32 side of the small interfaces that the portable code writes
// through: the song box (combo box 40007), text labels, the performance
// list box (4004), questions and notices, and the beep. Each wraps a window
// that it does not own; a null window makes every call do nothing, so that
// a catalog rebuild with the library dialog closed touches no control.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "library/beeper.h"
#include "library/song_box.h"
#include "library/text_label.h"
#include "perflist/list_ui.h"

namespace lyro {

// The current directory, read whole.
std::string current_folder();

// The text of a control, read whole.
std::string control_text(HWND control);

// The text of a control cut to `max_chars` characters, as a fixed buffer of
// max_chars + 1 bytes would read it.
std::string control_text(HWND control, std::size_t max_chars);

// The sorted combo box keeps its order itself; the fill only stops it
// drawing between reset() and finish(), since a box that draws each new
// item (its list and scroll bar) takes milliseconds an item under Wine.
// A fill left unfinished is finished when the box goes.
class WinSongBox final : public SongBox {
public:
    explicit WinSongBox(HWND combo) : combo_(combo) {}
    WinSongBox(const WinSongBox&) = delete;
    WinSongBox& operator=(const WinSongBox&) = delete;
    ~WinSongBox() override;
    void reset() override;
    void add(std::string_view title) override;
    void finish() override;

private:
    HWND combo_;
    bool drawing_stopped_ = false;
};

class WinTextLabel final : public TextLabel {
public:
    explicit WinTextLabel(HWND label) : label_(label) {}
    void set_text(std::string_view text) override;

private:
    HWND label_;
};

class WinListBox final : public ListBox {
public:
    explicit WinListBox(HWND list) : list_(list) {}
    void add(std::string_view text) override;
    void reset() override;
    int count() const override;
    std::string text(int index) const override;
    int selection() const override;
    void select(int index) override;

private:
    HWND list_;
};

// Questions and notices as message boxes owned by one window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(HWND owner) : owner_(owner) {}
    bool ask(std::string_view text, std::string_view caption) override;
    void notify(std::string_view text, std::string_view caption) override;

private:
    HWND owner_;
};

// The simple beep: MessageBeep with -1.
class WinBeeper final : public Beeper {
public:
    void beep() override;
};

// A message box with OK; returns when it is answered.
void tell(HWND owner, std::string_view text, std::string_view caption, UINT extra_style = 0);

// A message box with Yes and No: true only on Yes.
bool ask_yes_no(HWND owner, std::string_view text, std::string_view caption,
                UINT extra_style = 0);

}  // namespace lyro
