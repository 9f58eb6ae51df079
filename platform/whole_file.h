// A file read or written whole, the one way every part of both programs
// does it: binary, in large blocks, and a write on disk before it counts.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace lyro {

// Every line end that the programs write, in every file, on both builds.
inline constexpr std::string_view kLineEnd = "\r\n";

// A text handed over in parts, written one after another.
using TextParts = std::span<const std::string_view>;

// Appends everything from the file's position to its end to `bytes`.
// False on a read error.
bool read_to_end(std::FILE* file, std::string& bytes);

// The whole content of `path` in `bytes`; false when it cannot be opened
// or read.
bool read_whole_file(const std::string& path, std::string& bytes);

// Creates `path` (an existing file is emptied), writes the parts, puts them
// on disk and closes it. False when any of that fails; the file may then
// hold a part of the text.
bool write_file_durably(const std::string& path, TextParts parts);
inline bool write_file_durably(const std::string& path, std::string_view text) {
    const std::string_view parts[] = {text};
    return write_file_durably(path, parts);
}

}  // namespace lyro
