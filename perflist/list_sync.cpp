// The two directions in which the list and its list box are brought into
// step.
#include "perflist/list_sync.h"

#include <algorithm>

namespace lyro {

std::string list_title(std::string_view text) { return std::string(text.substr(0, kListTitleMax)); }

int take_in_list_box(PerfList& list, const ListBox& box) {
    const int items = box.count();
    list.length = std::clamp(items, 0, kListPlaces);
    for (int i = 0; i < list.length; ++i)
        list.entries[static_cast<std::size_t>(i)].title = list_title(box.text(i));
    return items;
}

void refill_list_box(const PerfList& list, ListBox& box) {
    box.reset();
    const int length = std::clamp(list.length, 0, kListPlaces);
    for (int i = 0; i < length; ++i) box.add(list.entries[static_cast<std::size_t>(i)].title);
}

}  // namespace lyro
