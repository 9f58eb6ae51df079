// Polling and carrying out song requests; see song_request.h.
#include "remote/song_request.h"

namespace lyro {

bool poll_song_request(AppState& app, RequestKey& key, bool library_open) {
    if (++app.poll_ticks <= kTicksBetweenPolls) return false;
    app.poll_ticks = 0;
    const int value = key.read();
    // A negative value is no position at all; treating it as "no request"
    // keeps it from turning into an ordinary Review of the chosen song.
    const bool stored = value > 0 && library_open;
    if (stored) app.requested_position = value;
    key.reset();
    return stored;
}

int take_song_request(AppState& app) {
    const int position = app.requested_position;
    app.requested_position = 0;
    return position;
}

bool show_requested_entry(AppState& app, int position, const RequestTarget& target) {
    if (position < 1 || position >= target.list_length || position >= kMaxRequestPosition) {
        return false;
    }
    const RequestedEntry entry = target.entry_at(position);
    app.key_offset = entry.key_change;
    app.start_position = position;
    app.list_position = position;
    target.show_in_viewer(entry.title);
    return true;
}

}  // namespace lyro
