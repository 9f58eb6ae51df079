// Saving the performance list to `songlist.txt` and loading it back: the
// library dialog's Save List and Load List buttons, and the load when the
// dialog opens.
#pragma once

#include "library/beeper.h"
#include "library/data_files.h"
#include "perflist/list_box.h"
#include "perflist/perf_list.h"
#include "perflist/prompter.h"

namespace lyro {

// Save List. The list counts as saved from here on (the changed flag goes
// to 0 whatever happens). When a songlist file exists, asks "There appears
// to already be a saved list / Do you wish to write over it?" first. The
// list box's titles become the list; only the first 32 can be saved, with a
// warning when there are more. The new file is written whole beside the
// old one and then takes its place, so a failure never leaves a half
// written or empty songlist: it shows "Could Not Save Songlist" and the old
// file stays as it was. Returns whether the file was written.
bool save_songlist(PerfList& list, ListBox& box, Prompter& prompter, const DataFiles& files);

// Load List. With a list in memory, asks "Are you sure?" first. Without a
// readable songlist file the list length becomes 0 and the list box keeps
// its titles ("Could Not Load Songlist"). Otherwise the list box is emptied,
// every key change set to 0 and the file read line by line (see
// read_songlist_line); places that the file does not name keep their
// titles. Returns whether the file was read.
bool load_songlist(PerfList& list, ListBox& box, Prompter& prompter, Beeper& beeper,
                   const DataFiles& files);

}  // namespace lyro
