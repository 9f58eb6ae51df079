// Finding the first of two bytes in a short stretch of text. Songbook lines
// are short, so a library search per byte sought would cost more in calls
// than in scanning; this looks at eight bytes at a time instead.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lyro {

// The index of the first byte in [p, p + n) that equals `a` or `b`, or n.
inline std::size_t find_either(const char* p, std::size_t n, char a, char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    const std::uint64_t spread_a = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t spread_b = kOnes * static_cast<unsigned char>(b);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        // A byte equal to the one sought is a zero byte after the XOR; the
        // classic zero-byte test marks it with its high bit. Marks can be
        // wrong only above a true zero byte, so the lowest mark is exact.
        const std::uint64_t xa = word ^ spread_a;
        const std::uint64_t xb = word ^ spread_b;
        const std::uint64_t marks = (((xa - kOnes) & ~xa) | ((xb - kOnes) & ~xb)) & kHighs;
        if (marks == 0) continue;
        if constexpr (std::endian::native == std::endian::little) {
            return i + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
        }
        break;  // elsewhere the byte loop below finds it
    }
    for (; i < n; ++i) {
        if (p[i] == a || p[i] == b) return i;
    }
    return n;
}

}  // namespace lyro
