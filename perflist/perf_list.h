// The performance list: the ordered songs of one service or rehearsal, each
// with the key change at which it is shown. The program's state object
// holds one PerfList for the whole run. Here are the list, how it and its
// list box are kept in step, the library dialog's buttons that build and
// reorder it, and the start of a run.
//
// Keeping the list and the list box in step. The list box is what the user
// sees and edits; the list holds the key change of every place. The rule:
//  - after every operation of this folder except Load, places 1 .. length
//    hold exactly the first min(items, 32) titles of the list box, cut to
//    99 characters;
//  - Load keeps the file's numbering (gaps and duplicates may leave the two
//    apart), so Move Up, Move Dn, Delete, Run and Save first take the list
//    box's titles into the list, and Transfer and Clear take it in after
//    changing the list box.
// So no operation acts on stale entries, a refill puts back exactly what
// the list box showed, and an empty list box is an empty list.
//
// The list box may hold more than 32 titles; those beyond the 32nd have no
// place in the list. They are kept in the list box, never run or saved,
// and no operation moves them into or out of a place.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "library/beeper.h"
#include "perflist/list_ui.h"
#include "view/view_position.h"

namespace lyro {

inline constexpr int kListPlaces = 32;
inline constexpr std::size_t kListTitleMax = 99;
// A run plays keys of -12 to +12 half steps; anything else becomes 0.
inline constexpr int kKeyChangeLimit = 12;

struct ListEntry {
    std::string title;   // at most kListTitleMax characters
    int key_change = 0;  // half steps
};

struct PerfList {
    std::array<ListEntry, kListPlaces> entries{};
    int length = 0;        // 0 .. kListPlaces: entries in use from the first
    bool changed = false;  // edited since the last Save List
};

// Opens the viewer on a title: in the program it sets the current title
// and posts command 206 to the main window.
using ShowInViewer = std::function<void(std::string_view title)>;

// The entry at 0-based `index`, or nullptr when the index lies outside the
// list (below 0, or at or beyond its length). The viewer writes a changed
// key change back through the non-const form.
const ListEntry* entry_at(const PerfList& list, int index);
ListEntry* entry_at(PerfList& list, int index);

// Bringing the performance list and its list box into step, in either
// direction, by the rule above.

// A title as a place of the list holds it: cut to kListTitleMax characters.
std::string list_title(std::string_view text);

// Takes the list box's titles into places 1 .. min(items, 32), each cut to
// 99 characters, and makes that number the list length. Key changes stay
// with their places. Returns the number of list box items.
int take_in_list_box(PerfList& list, const ListBox& box);

// Empties the list box and appends the titles of places 1 .. list length.
void refill_list_box(const PerfList& list, ListBox& box);

// The list buttons of the library dialog that build and reorder the
// performance list: Transfer, Clear, Move Up, Move Dn and Delete.

// The song box is read with room for 49 characters; a transferred title is
// never longer.
inline constexpr std::size_t kTransferTitleMax = 49;

// Appends `title` (cut to 49 characters, an empty one too) to the list box
// and takes it into the list with a key change of 0. The list box may grow
// beyond 32 titles; those have no place in the list. The selection stays.
void transfer_title(PerfList& list, ListBox& box, std::string_view title);

// Asks "Are you sure?" / "Delete List"; on Yes empties the list box and the
// list and sets every key change to 0. Returns whether it cleared.
bool clear_list(PerfList& list, ListBox& box, Prompter& prompter);

// Swap the selected entry with the one before (after) it, title and key
// change together, and keep it selected. With nothing to swap with, nothing
// changes. Titles beyond the 32nd have no place to swap: a beep, nothing
// changes. Return whether the list changed.
bool move_up(PerfList& list, ListBox& box, Beeper& beeper);
bool move_down(PerfList& list, ListBox& box, Beeper& beeper);

// Removes the selected entry; the ones after it move up with their key
// changes, and nothing is selected afterwards. A title beyond the 32nd is
// removed from the list box alone. Returns whether anything was removed.
bool delete_entry(PerfList& list, ListBox& box);

// Starting a run of the performance list: the list box's titles become the
// list, the application state points at the first entry to show, and the
// viewer opens on it.

// What a run needs of the library dialog and the main window.
struct RunSurroundings {
    ListBox& box;
    Prompter& prompter;
    Beeper& beeper;
    const ShowInViewer& show;
};

// "Run Performance": selects the first title and runs from it.
// "Run from Select": runs from the selected title, or the first when none
// is selected.
// Only the first 32 titles run (with a warning when there are more); a key
// change outside -12..+12 becomes 0; a title that begins with a blank
// beeps. An empty list box, or a selection beyond the 32nd title, beeps and
// changes nothing: the viewer never opens on a title that is not in the
// list. Both return whether the viewer was asked to open.
bool run_from_start(PerfList& list, ViewPosition& position, const RunSurroundings& ui);
bool run_from_selection(PerfList& list, ViewPosition& position, const RunSurroundings& ui);

}  // namespace lyro
