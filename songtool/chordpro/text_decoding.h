// The text of a song file in the songbook's character set. Song files come
// as UTF-8 (with or without a byte-order mark), as UTF-16 with a byte-order
// mark, or already in Windows-1252; the songbook holds Windows-1252 only.
// A letter Windows-1252 lacks is written as the plain letter it is made
// from where there is one (č as c), anything else as '?'; what became of
// each character is kept, so that a song can be judged by its own letters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/book_charset.h"

namespace lyro {

// What became of the character behind one byte of the decoded text.
enum class Fate : std::uint8_t {
    kept,               // written as it was (a letter or not)
    plain_letter,       // a letter written as its plain letter
    unwritable_letter,  // a letter written as '?'
    unwritable_other,   // any other character written as '?'
};

struct Cp1252Text {
    std::string bytes;         // Windows-1252
    std::vector<Fate> fates;   // one per byte of `bytes`; empty when every one is kept
    std::size_t replaced = 0;  // characters written as '?'
};

// UTF-8 (with or without a byte-order mark), UTF-16 LE or BE with a
// byte-order mark; anything else, invalid UTF-8 included, is taken as
// Windows-1252 as it stands.
Cp1252Text decode_to_cp1252(std::string_view file_bytes);

// The letters of a stretch of text and what became of them.
struct LetterCounts {
    std::size_t letters = 0;     // every letter, however it was written
    std::size_t changed = 0;     // written as their plain letter
    std::size_t unwritable = 0;  // letters written as '?'
    std::size_t replaced = 0;    // characters written as '?', letters or not

    LetterCounts& operator+=(const LetterCounts& other);
};

// The counts of `part`, which must lie within `text.bytes`.
LetterCounts count_letters(const Cp1252Text& text, std::string_view part);

}  // namespace lyro
