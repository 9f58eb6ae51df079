// The performance list: the ordered songs of one service or rehearsal, each
// with the key change at which it is shown. The program's state object
// holds one PerfList for the whole run.
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

}  // namespace lyro
