// Bringing the performance list and its list box into step, in either
// direction (see perflist/perf_list.h for the rule).
#pragma once

#include <string>
#include <string_view>

#include "perflist/list_box.h"
#include "perflist/perf_list.h"

namespace lyro {

// A title as a place of the list holds it: cut to kListTitleMax characters.
std::string list_title(std::string_view text);

// Takes the list box's titles into places 1 .. min(items, 32), each cut to
// 99 characters, and makes that number the list length. Key changes stay
// with their places. Returns the number of list box items.
int take_in_list_box(PerfList& list, const ListBox& box);

// Empties the list box and appends the titles of places 1 .. list length.
void refill_list_box(const PerfList& list, ListBox& box);

}  // namespace lyro
