// Starting a run of the performance list.
#include "perflist/list_run.h"

#include <cstdlib>

#include "perflist/list_sync.h"

namespace lyro {

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
