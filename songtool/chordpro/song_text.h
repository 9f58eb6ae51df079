// Small readings of song-file text shared by the file formats.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lyro {

// The file's lines: LF, CR LF or a lone CR ends one.
std::vector<std::string_view> file_lines(std::string_view text);

// `s` without blanks and tabs at either end.
std::string_view trimmed(std::string_view s);

// `s` without the blanks at its end.
std::string without_end_blanks(std::string_view s);

// `s` with A-Z in small letters: directive names and the words that song
// files write in either case ("Key:", "CHORUS").
std::string lower_ascii(std::string_view s);

}  // namespace lyro
