// Polling and carrying out song requests; see song_request.h.
#include "remote/song_request.h"

namespace lyro {

bool poll_song_request(RequestState& requests, RequestKey& key, bool library_open) {
    if (++requests.poll_ticks <= requests.ticks_between_polls) return false;
    requests.poll_ticks = 0;
    const int value = key.read();
    // A negative value is no position at all; treating it as "no request"
    // keeps it from turning into an ordinary Review of the chosen song.
    const bool stored = value > 0 && library_open;
    if (stored) requests.requested_position = value;
    key.reset();
    return stored;
}

int take_song_request(RequestState& requests) {
    const int position = requests.requested_position;
    requests.requested_position = 0;
    return position;
}

const ListEntry* move_to_requested_entry(ViewPosition& view, int position, const PerfList& list) {
    // Place 0 is never a request: the key's "0" means that there is none.
    if (position < 1) return nullptr;
    // nullptr at or beyond the list's length and beyond its 32 places.
    const ListEntry* entry = entry_at(list, position);
    if (entry == nullptr) return nullptr;
    view.key_offset = entry->key_change;
    view.start_position = position;
    view.list_position = position;
    return entry;
}

}  // namespace lyro
