// The files that songdesk publishes for the network (index.html,
// stage.json): each is written whole beside the old one and then put in its
// place in one step, so that songserv, reading at any moment, gets the old
// file or the new one, never an empty or half-written one.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

// Writes `bytes` beside `path` and puts them in its place in one step.
// False when the old file stays: the user made it read-only, or the new
// file could not be created, written whole or put in place.
bool publish_file(const std::string& path, std::string_view bytes);

}  // namespace lyro
