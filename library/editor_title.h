// The title and key that the song editor shows for a song of the songbook.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/songbook.h"

namespace lyro {

// The title in the header of the song that every lookup of `title` finds
// (the first of that folded title before the end marker), as it was typed
// when the song was saved: the header's title without the one blank that
// the header writer puts before the closing colons. Saved again unchanged,
// it gives the same header. Empty when there is no such song.
//
// The song box's text is not that title: it carries the writer's blank,
// and a title typed there may differ in case from the stored one.
std::optional<std::string> stored_song_title(const Songbook& book, std::string_view title);

// The key that the same header names after "KEY=", as the editor's key box
// shows it: empty for songdesk's "xx" (no key known) and when there is no
// such song.
std::string stored_song_key(const Songbook& book, std::string_view title);

}  // namespace lyro
