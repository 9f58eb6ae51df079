// Finding the first of a few bytes in a stretch of text, looking for all of
// them at once: sixteen bytes at a time with SSE2, a machine word at a time
// without it. The Windows build (i686) has no vector instructions, and there
// a library search costs about a millisecond for each pass over a church's
// songbook: a pass for each byte sought made reading the songbook three
// times slower than this one pass.
#pragma once

#include <bit>
#include <climits>
#include <cstddef>
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
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor has SSE2 (every x86-64).
    for (; to - i >= 16; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = (_mm_cmpeq_epi8(chunk, _mm_set1_epi8(Wanted)) | ...);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
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

}  // namespace lyro
