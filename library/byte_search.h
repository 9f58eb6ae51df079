// Finding bytes in the songbook's text without looking at one byte at a
// time. Where the processor has SSE2 (every x86-64), whole blocks of 64
// bytes are turned into bit masks, one bit a byte, so that a reader walks
// from line end to line end without a search, and a branch, for each line.
// The Windows build (i686) has no vector instructions, and blocks looked at
// byte by byte cost more than they save; there a library search costs about
// a millisecond for each pass over a church's songbook, so one search looks
// for a few bytes at once, a machine word at a time.
#pragma once

#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lyro {

// The index of the first byte in [from, to) of `text` that is one of
// `Wanted`, or `to`.
template <char... Wanted>
std::size_t find_first_of_bytes(std::string_view text, std::size_t from, std::size_t to) {
    static_assert(sizeof...(Wanted) > 0);
    using Word = std::size_t;
    constexpr Word kOnes = ~Word{0} / 0xFF;  // 0x01 in every byte
    constexpr Word kHighs = kOnes * 0x80;
    const char* const p = text.data();
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; to - i >= sizeof(Word); i += sizeof(Word)) {
            Word word;
            std::memcpy(&word, p + i, sizeof word);
            // A byte equal to `c` is a zero byte after the XOR, and the
            // zero-byte test sets its high bit. It may also set bits above
            // a true zero byte, never below one, so the lowest bit set of
            // all the tests together is exact.
            const auto zeros = [word](unsigned char c) {
                const Word x = word ^ (kOnes * c);
                return (x - kOnes) & ~x;
            };
            const Word found = (zeros(static_cast<unsigned char>(Wanted)) | ...) & kHighs;
            if (found != 0) return i + static_cast<std::size_t>(std::countr_zero(found)) / CHAR_BIT;
        }
    }
    for (; i < to; ++i) {
        if (((p[i] == Wanted) || ...)) return i;
    }
    return to;
}

#if defined(__SSE2__)
// Bit i is set where byte i of the 64 at `p` is one of `Wanted`.
template <char... Wanted>
std::uint64_t block_bits(const char* p) {
    std::uint64_t bits = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i hits = (_mm_cmpeq_epi8(chunk, _mm_set1_epi8(Wanted)) | ...);
        bits |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(hits))} << (16 * part);
    }
    return bits;
}
#endif

}  // namespace lyro
