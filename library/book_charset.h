// The songbook's character set, Windows-1252, and its way to and from
// Unicode: songtool brings songs in from UTF-8 and UTF-16 files, and the
// stage view publishes them as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lyro {

// The character that a Windows-1252 byte stands for. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// the control characters of the same number, as Windows itself converts
// them.
char32_t cp1252_char(unsigned char byte);

// The Windows-1252 byte of `c`, if it has one.
std::optional<char> cp1252_byte(char32_t c);

// Windows-1252 text as UTF-8.
std::string cp1252_to_utf8(std::string_view text);

}  // namespace lyro
