// Writing a file so that it is whole on disk before it takes another file's
// place: the songbook and the songlist are never left half written.
#pragma once

#include <cstdio>
#include <string>

namespace lyro {

// Flushes the C library's buffer and asks the system to put the data on
// disk. False when either step fails.
bool flush_to_disk(std::FILE* file);

// Puts `from` in the place of `to` in one step: `to` is replaced whole or
// not at all, and exists at every moment if it existed before.
bool replace_file(const std::string& from, const std::string& to);

}  // namespace lyro
