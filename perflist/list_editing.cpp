// Building and reordering the performance list from the library dialog.
// Every operation that works on places first takes the list box in, so it
// never acts on titles the user no longer sees (see perflist/perf_list.h).
#include "perflist/list_editing.h"

#include <string>
#include <utility>
#include <vector>

#include "perflist/list_sync.h"

namespace lyro {

namespace {

ListEntry& place(PerfList& list, int index) {
    return list.entries[static_cast<std::size_t>(index)];
}

// The titles beyond the 32nd have no place in the list; a refill from the
// list must not lose them.
void refill_keeping_overflow(PerfList& list, ListBox& box) {
    std::vector<std::string> beyond;
    for (int i = kListPlaces; i < box.count(); ++i) beyond.push_back(box.text(i));
    refill_list_box(list, box);
    for (const std::string& title : beyond) box.add(title);
    take_in_list_box(list, box);
}

void remove_item(ListBox& box, int index) {
    std::vector<std::string> kept;
    for (int i = 0; i < box.count(); ++i)
        if (i != index) kept.push_back(box.text(i));
    box.reset();
    for (const std::string& title : kept) box.add(title);
}

// Swaps places a and a + 1 (both inside the list) and selects `selected`.
void swap_places(PerfList& list, ListBox& box, int a, int selected) {
    take_in_list_box(list, box);
    std::swap(place(list, a), place(list, a + 1));
    refill_keeping_overflow(list, box);
    box.select(selected);
    list.changed = true;
}

}  // namespace

void transfer_title(PerfList& list, ListBox& box, std::string_view title) {
    const int index = box.count();
    box.add(title.substr(0, kTransferTitleMax));
    // The place may hold the key change of an entry deleted or loaded
    // earlier: a new title starts in its own key.
    if (index >= 0 && index < kListPlaces) place(list, index).key_change = 0;
    take_in_list_box(list, box);
    list.changed = true;
}

bool clear_list(PerfList& list, ListBox& box, Prompter& prompter) {
    if (!prompter.ask("Are you sure?", "Delete List")) return false;
    box.reset();
    for (ListEntry& entry : list.entries) entry.key_change = 0;
    take_in_list_box(list, box);
    return true;
}

bool move_up(PerfList& list, ListBox& box, Beeper& beeper) {
    const int s = box.selection();
    if (s < 1 || s >= box.count()) return false;
    if (s >= kListPlaces) {
        beeper.beep();
        return false;
    }
    swap_places(list, box, s - 1, s - 1);
    return true;
}

bool move_down(PerfList& list, ListBox& box, Beeper& beeper) {
    const int s = box.selection();
    if (s < 0 || s >= box.count() - 1) return false;
    if (s + 1 >= kListPlaces) {
        beeper.beep();
        return false;
    }
    swap_places(list, box, s, s + 1);
    return true;
}

bool delete_entry(PerfList& list, ListBox& box) {
    const int s = box.selection();
    if (s < 0 || s >= box.count()) return false;
    if (s >= kListPlaces) {
        remove_item(box, s);
    } else {
        take_in_list_box(list, box);
        for (int i = s; i + 1 < list.length; ++i) place(list, i) = place(list, i + 1);
        // The vacated last place no longer counts; a title that takes it
        // later must not inherit its key change.
        place(list, list.length - 1).key_change = 0;
        list.length -= 1;
        refill_keeping_overflow(list, box);
    }
    box.select(-1);
    list.changed = true;
    return true;
}

}  // namespace lyro
