// The songlist file `songlist.txt` line by line: the text that Save List
// writes, and the reading of one line of it into the list.
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

#include "perflist/list_box.h"
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

}  // namespace lyro
