// Song requests from outside the program: an outside party writes a
// performance-list position into the SONGREQUEST key of the shared profile
// section; songdesk reads it on every 101st tick of its 50 ms timer, hands
// it to the open library dialog, and writes the key back as "0".
#pragma once

#include "perflist/perf_list.h"
#include "view/view_position.h"

namespace lyro {

// Ticks of the 50 ms timer between two polls: a poll runs on the tick after
// this many, about every 5 seconds.
inline constexpr int kTicksBetweenPolls = 100;

// The polling's own state: ticks since the last poll, and the requested
// performance-list position waiting for the library dialog.
struct RequestState {
    int poll_ticks = 0;
    int requested_position = 0;
    // The program polls after kTicksBetweenPolls; tests choose fewer.
    int ticks_between_polls = kTicksBetweenPolls;
};

// The SONGREQUEST key as the poll uses it. The UI reads it from the profile
// (GetProfileIntA rules: missing or non-numeric reads as 0); tests from
// memory.
class RequestKey {
public:
    virtual ~RequestKey() = default;
    virtual int read() = 0;
    virtual void reset() = 0;  // writes "0"
};

// One timer tick. On every 101st tick (with the program's interval) reads
// the key, resets it whatever it
// held, and, when the library dialog is open and the key holds a positive
// position, stores it as the pending request. Returns true when a request
// was stored: the caller then posts command 4001 to the library dialog.
bool poll_song_request(RequestState& requests, RequestKey& key, bool library_open);

// Returns the pending request (0 if none) and clears it, so that a request
// is acted on once.
int take_song_request(RequestState& requests);

// Carries out request `position` (a 0-based index) on the view: the entry's
// key change becomes the key offset and the start and list positions become
// `position`. Returns the entry, whose title the caller then shows in the
// viewer. A position below 1, at or beyond the list length, or beyond the
// list's 32 places is ignored: no entry outside the list is read, nothing
// changes and the result is nullptr.
const ListEntry* move_to_requested_entry(ViewPosition& view, int position, const PerfList& list);

}  // namespace lyro
