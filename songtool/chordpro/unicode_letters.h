// What the Unicode Character Database says about the letters of imported
// song files: which are letters, which are marks that decomposed text puts
// after its letter, and which plain letter stands in for a letter that
// Windows-1252, the songbook's character set, lacks.
#pragma once

#include <optional>

namespace lyro {

// The Windows-1252 byte of the plain letter that `c` decomposes to, when c has
// no Windows-1252 byte of its own and its canonical decomposition (followed
// down while the first part decomposes further) starts with a character that
// has one and continues only with combining marks. nullopt otherwise.
std::optional<char> plain_letter(char32_t c);

// The Windows-1252 byte of the letter that `letter` and the one combining
// `mark` after it are (e and U+0301 are é), when Windows-1252 has it.
std::optional<char> composed_letter(char32_t letter, char32_t mark);

// Whether `c` is a letter: general category Lu, Ll, Lt, Lm or Lo (ranges such as
// "<CJK Ideograph, First>"..."Last>" included).
bool is_letter(char32_t c);

// Whether `c` is a nonspacing combining mark (general category Mn), as decomposed
// text (e.g. from macOS) puts after its letter.
bool is_combining_mark(char32_t c);

}  // namespace lyro
