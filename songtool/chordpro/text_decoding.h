// The text of a ChordPro file in the songbook's character set. Song files
// come as UTF-8 (with or without a byte-order mark), as UTF-16 with a
// byte-order mark, or already in Windows-1252; the songbook holds
// Windows-1252 only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "library/book_charset.h"

namespace lyro {

struct Cp1252Text {
    std::string bytes;         // Windows-1252
    std::size_t replaced = 0;  // characters Windows-1252 lacks, written as '?'
};

// UTF-8 (with or without a byte-order mark), UTF-16 LE or BE with a
// byte-order mark; anything else, invalid UTF-8 included, is taken as
// Windows-1252 as it stands.
Cp1252Text decode_to_cp1252(std::string_view file_bytes);

}  // namespace lyro
