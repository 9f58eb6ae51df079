// The list buttons of the library dialog that build and reorder the
// performance list: Transfer, Clear, Move Up, Move Dn and Delete.
#pragma once

#include <cstddef>
#include <string_view>

#include "library/beeper.h"
#include "perflist/list_box.h"
#include "perflist/perf_list.h"
#include "perflist/prompter.h"

namespace lyro {

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

}  // namespace lyro
