// The performance list: reading its entries, bringing it and its list box
// into step, building and reordering it from the library dialog, and
// starting a run.
#include "perflist/perf_list.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace lyro {

// Reading one entry of the performance list, never beyond its length.
const ListEntry* entry_at(const PerfList& list, int index) {
    if (index < 0 || index >= list.length || index >= kListPlaces) return nullptr;
    return &list.entries[static_cast<std::size_t>(index)];
}

ListEntry* entry_at(PerfList& list, int index) {
    return const_cast<ListEntry*>(entry_at(static_cast<const PerfList&>(list), index));
}

// The two directions in which the list and its list box are brought into
// step.
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

// Building and reordering the performance list from the library dialog.
// Every operation that works on places first takes the list box in, so it
// never acts on titles the user no longer sees (see perflist/perf_list.h).
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

// Starting a run of the performance list.
namespace {

bool run_from(int start, PerfList& list, ViewPosition& position, const RunSurroundings& ui) {
    if (ui.box.count() <= 0) {
        take_in_list_box(list, ui.box);  // the list is empty too
        ui.beeper.beep();
        return false;
    }
    if (start >= kListPlaces || start >= ui.box.count()) {
        ui.beeper.beep();
        return false;
    }
    position.single_song_mode = 0;
    if (ui.box.count() > kListPlaces)
        ui.prompter.notify("Warning, 32 Songs Maximum - remainder truncated", "RUN Performance");

    take_in_list_box(list, ui.box);
    for (int i = 0; i < list.length; ++i) {
        ListEntry& entry = list.entries[static_cast<std::size_t>(i)];
        if (std::abs(static_cast<long long>(entry.key_change)) > kKeyChangeLimit)
            entry.key_change = 0;
        // A catalog label with a blank after its asterisks is no song title.
        if (!entry.title.empty() && entry.title.front() == ' ') ui.beeper.beep();
    }

    const ListEntry& first = list.entries[static_cast<std::size_t>(start)];
    position.start_position = start;
    position.list_position = start;
    position.key_offset = first.key_change;
    ui.show(first.title);
    return true;
}

}  // namespace

bool run_from_start(PerfList& list, ViewPosition& position, const RunSurroundings& ui) {
    if (ui.box.count() > 0) ui.box.select(0);
    return run_from(0, list, position, ui);
}

bool run_from_selection(PerfList& list, ViewPosition& position, const RunSurroundings& ui) {
    const int selected = ui.box.selection();
    return run_from(selected < 0 ? 0 : selected, list, position, ui);
}

}  // namespace lyro
