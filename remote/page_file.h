// The files that songdesk publishes for the network (index.html,
// stage.json): each is written whole beside the old one and then put in its
// place in one step, so that songserv, reading at any moment, gets the old
// file or the new one, never an empty or half-written one.
#pragma once

#include <string>
#include <string_view>

#include "platform/c_file.h"

namespace lyro {

// The file that will become `path`, open for writing; empty when `path`
// cannot be replaced (the user made it read-only) or the new file cannot
// be created.
CFile open_new_page(const std::string& path);

// Closes the new file and puts it in the place of `path`. A file that could
// not be written whole, or not put in place, is dropped, and the old one
// stays. `file` is empty afterwards.
void put_in_place(CFile& file, const std::string& path);

// Both steps for a text that is ready at once. False when the old file stays.
bool publish_file(const std::string& path, std::string_view bytes);

}  // namespace lyro
