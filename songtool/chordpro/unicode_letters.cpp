// Lookups in the letter table that the build makes from UnicodeData.txt
// (make_letter_table.cmake): binary searches over its sorted arrays.
#include "songtool/chordpro/unicode_letters.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "library/book_charset.h"
#include "unicode_letter_table.h"

namespace lyro {

namespace {

bool in_ranges(std::span<const letter_table::Range> ranges, char32_t c) {
    auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                  [](char32_t x, const letter_table::Range& r) { return x < r.first; });
    return after != ranges.begin() && c <= std::prev(after)->last;
}

const letter_table::Decomposition* decomposition_of(char32_t c) {
    const auto& table = letter_table::kDecompositions;
    auto found = std::lower_bound(std::begin(table), std::end(table), c,
                                  [](const letter_table::Decomposition& d, char32_t x) { return d.code < x; });
    return found != std::end(table) && found->code == c ? found : nullptr;
}

}  // namespace

std::optional<char> plain_letter(char32_t c) {
    if (cp1252_byte(c)) return std::nullopt;
    // ǖ is ü with a macron, and ü is u with a diaeresis: the first letter
    // down that chain which Windows-1252 has is the one written. The
    // chains end, since no character decomposes into itself.
    for (const auto* d = decomposition_of(c); d && d->marks_only; d = decomposition_of(d->first_part)) {
        if (auto byte = cp1252_byte(d->first_part)) return byte;
    }
    return std::nullopt;
}

std::optional<char> composed_letter(char32_t letter, char32_t mark) {
    // The few letters with marks that Windows-1252 has are the only
    // candidates: each of its bytes is tried.
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const auto* d = decomposition_of(cp1252_char(static_cast<unsigned char>(byte)));
        if (d && d->first_part == letter && d->second_part == mark) return static_cast<char>(byte);
    }
    return std::nullopt;
}

bool is_letter(char32_t c) {
    return in_ranges(letter_table::kLetters, c);
}

bool is_combining_mark(char32_t c) {
    return in_ranges(letter_table::kNonspacingMarks, c);
}

}  // namespace lyro
