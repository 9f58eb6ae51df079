// The text of a ChordPro file in the songbook's character set. Song files
// come as UTF-8 (with or without a byte-order mark), as UTF-16 with a
// byte-order mark, or already in Windows-1252; the songbook holds
// Windows-1252 only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lyro {

struct Cp1252Text {
    std::string bytes;         // Windows-1252
    std::size_t replaced = 0;  // characters Windows-1252 lacks, written as '?'
};

// UTF-8 (with or without a byte-order mark), UTF-16 LE or BE with a
// byte-order mark; anything else, invalid UTF-8 included, is taken as
// Windows-1252 as it stands.
Cp1252Text decode_to_cp1252(std::string_view file_bytes);

// Windows-1252 as UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same
// number, as Windows itself converts them.
std::string cp1252_to_utf8(std::string_view text);

}  // namespace lyro
