// Starting a run of the performance list: the list box's titles become the
// list, the application state points at the first entry to show, and the
// viewer opens on it.
#pragma once

#include "library/beeper.h"
#include "perflist/list_box.h"
#include "perflist/perf_list.h"
#include "perflist/prompter.h"
#include "view/view_position.h"

namespace lyro {

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
