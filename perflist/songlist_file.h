// The songlist file `songlist.txt`: its text line by line, and saving the
// performance list to it and loading it back (the library dialog's Save
// List and Load List buttons, and the load when the dialog opens).
//
//   ;SONG LIST FILE
//   SONG01=<title>        one SONG and one KEYCHANGE line per place,
//   KEYCHANGE01=<key>     numbered with two digits
//   ;END                  no line end after it
//
// Every line end is CR LF. The reader also takes files written by hand or
// by other programs: see read_songlist_line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/beeper.h"
#include "library/data_files.h"
#include "perflist/list_ui.h"
#include "perflist/perf_list.h"

namespace lyro {

// The whole file for places 1 .. list length, key changes as stored.
std::string songlist_text(const PerfList& list);

// The decimal integer at the start of `text`, read as C's atoi reads one:
// white space skipped, an optional sign, digits up to the first non-digit.
// Values beyond int's range are held at its ends. Empty when no digit
// follows the sign.
std::optional<int> leading_int(std::string_view text);

// What the reader carries from one line to the next.
struct SonglistReading {
    PerfList& list;
    ListBox& box;
    int number = 0;  // the place that the last numbered line named
};

// Reads one line (comment lines have been dropped already):
//  - "SONG<n>=<title>": the title (one blank after '=' skipped, folded, cut
//    to 99 characters) goes to place n and is appended to the list box;
//    the list length grows to n. Without a readable number n is 1; n = 0
//    adds nothing.
//  - "KEYCHANGE<n>=<k>": place n gets key change k. Without a readable n
//    the place of the line before is meant.
//  - A line numbered below 0 or above 32 is ignored, and so is any other
//    line. A zero byte ends a line, as it would end a C string.
void read_songlist_line(std::string_view line, SonglistReading& reading);

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
