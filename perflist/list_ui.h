// What the list operations need of the window system: the library
// dialog's list box and the questions and notices put to the user. The UI
// implements both with Win32; tests keep them in memory.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

// The library dialog's list box of the performance list (control 4004), as
// the list operations use it: an unsorted list box whose items keep the
// order in which they were added, with at most one selected item. The UI
// implements it with the six LB_ messages named below; tests with a vector.
class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void add(std::string_view text) = 0;  // LB_ADDSTRING: append an item
    virtual void reset() = 0;                     // LB_RESETCONTENT: remove all
    virtual int count() const = 0;                // LB_GETCOUNT
    // LB_GETTEXT: the whole text of item `index` (0 <= index < count()).
    // An implementation asks for the item's length first, so that no item
    // is cut or overflows a buffer; the list logic cuts titles itself.
    virtual std::string text(int index) const = 0;
    virtual int selection() const = 0;   // LB_GETCURSEL: an index, or -1 for none
    virtual void select(int index) = 0;  // LB_SETCURSEL: -1 selects nothing
};

// Questions and notices that the list operations put to the user. The UI
// shows them as message boxes owned by a window of its choice (MB_YESNO and
// MB_OK); tests answer them from a script and record what was asked. A
// '\r' inside a text breaks the line.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A Yes/No question: true only when the answer is Yes.
    virtual bool ask(std::string_view text, std::string_view caption) = 0;
    // A notice with an OK button.
    virtual void notify(std::string_view text, std::string_view caption) = 0;
};

}  // namespace lyro
