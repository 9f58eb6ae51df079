// Windows-1252 and Unicode; see book_charset.h.
#include "library/book_charset.h"

#include <array>

namespace lyro {

namespace {

constexpr char32_t kNone = 0;

// The characters of bytes 0x80 to 0x9F in Windows-1252; kNone where it
// defines none (those bytes then stand for the control character itself).
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, kNone,  0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kNone,  0x017D, kNone,
    kNone,  0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kNone,  0x017E, 0x0178};

}  // namespace

char32_t cp1252_char(unsigned char byte) {
    if (byte < 0x80 || byte > 0x9F) return byte;
    const char32_t c = kHighControls[byte - 0x80];
    return c == kNone ? byte : c;
}

std::optional<char> cp1252_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    // The bytes that Windows-1252 leaves undefined stand for themselves.
    if (c <= 0x9F && kHighControls[c - 0x80] == kNone) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::string cp1252_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text) {
        const char32_t c = cp1252_char(static_cast<unsigned char>(byte));
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace lyro
