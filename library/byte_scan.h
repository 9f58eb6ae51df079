// Finding the first of a few bytes in a short stretch of text. Songbook
// lines are short, so a library search per byte sought would cost more in
// calls than in scanning; this looks at sixteen bytes at a time where the
// processor has SSE2 (every x86-64), eight bytes at a time elsewhere.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lyro {

namespace byte_scan_detail {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighs = 0x8080808080808080u;

// A byte of `word` equal to `c` is a zero byte after the XOR; the classic
// zero-byte test marks it with its high bit. Marks can be wrong only above
// a true zero byte, so the lowest mark is exact.
inline std::uint64_t marks(std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x;
}

}  // namespace byte_scan_detail

// The index of the first byte in [p, p + n) that equals any of `wanted`
// (chars), or n.
template <typename... Chars>
inline std::size_t find_any(const char* p, std::size_t n, Chars... wanted) {
    static_assert(sizeof...(Chars) > 0);
    using namespace byte_scan_detail;
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = (_mm_cmpeq_epi8(chunk, _mm_set1_epi8(wanted)) | ...);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        const std::uint64_t found = (marks(word, wanted) | ...) & kHighs;
        if (found == 0) continue;
        if constexpr (std::endian::native == std::endian::little) {
            return i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
        break;  // elsewhere the byte loop below finds it
    }
    for (; i < n; ++i) {
        if (((p[i] == wanted) || ...)) return i;
    }
    return n;
}

// The index of the first byte in [p, p + n) that equals `a` or `b`, or n.
inline std::size_t find_either(const char* p, std::size_t n, char a, char b) {
    return find_any(p, n, a, b);
}

}  // namespace lyro
