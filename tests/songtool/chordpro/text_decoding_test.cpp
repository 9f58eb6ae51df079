// Song files in UTF-8, UTF-16 and Windows-1252 brought into Windows-1252.
#include <gtest/gtest.h>

#include "songtool/chordpro/text_decoding.h"

namespace lyro {
namespace {

struct DecodingRow {
    const char* what;
    std::string bytes;
    std::string cp1252;
    std::size_t replaced;
};

TEST(TextDecoding, EveryEncodingComesOutAsWindows1252) {
    const DecodingRow rows[] = {
        {"ASCII", "Amazing grace", "Amazing grace", 0},
        {"UTF-8 accents", "Jos\xC3\xA9 \xE2\x80\x93 caf\xC3\xA9", "Jos\xE9 \x96 caf\xE9", 0},
        {"UTF-8 with a BOM", "\xEF\xBB\xBFL\xC3\xB6we", "L\xF6we", 0},
        {"UTF-8 the euro and curly quotes", "\xE2\x82\xAC \xE2\x80\x9Chi\xE2\x80\x9D",
         "\x80 \x93hi\x94", 0},
        {"UTF-8 outside Windows-1252", "\xE4\xB8\xAD x \xF0\x9F\x8E\xB5", "? x ?", 2},
        {"letters written plain", "\xC4\x8D \xC5\x91 \xC5\xAF \xC3\xBD", "c o u \xFD", 0},
        {"decomposed: a letter and its mark become one", "e\xCC\x81 c\xCC\x8C", "\xE9 c", 0},
        {"a mark on nothing, and on a '?'", "\xCC\x81 \xE0\xA4\x95\xE0\xA5\x8D", "? ?", 2},
        {"no plain letter for what is no letter", "\xCD\xBE", "?", 1},
        {"invalid UTF-8 is Windows-1252", "caf\xE9 \xFC", "caf\xE9 \xFC", 0},
        {"overlong UTF-8 is Windows-1252", "\xC0\xAF", "\xC0\xAF", 0},
        {"UTF-16 LE", std::string("\xFF\xFEH\0\xE9\0", 6), "H\xE9", 0},
        {"UTF-16 BE", std::string("\xFE\xFF\0H\x20\xAC", 6), "H\x80", 0},
        {"UTF-16 surrogate pair", std::string("\xFF\xFE\x3C\xD8\xB5\xDF!\0", 8), "?!", 1},
        {"UTF-16 lone surrogate and half a unit", std::string("\xFF\xFE\x00\xD8x", 5), "??", 2},
        {"empty", "", "", 0},
    };
    for (const DecodingRow& row : rows) {
        const Cp1252Text text = decode_to_cp1252(row.bytes);
        EXPECT_EQ(text.bytes, row.cp1252) << row.what;
        EXPECT_EQ(text.replaced, row.replaced) << row.what;
    }
}

TEST(TextDecoding, CountsTheLettersOfAPartAndWhatBecameOfThem) {
    // "Łódź č!" and a Devanagari letter: Ł and क cannot be written, ź and č
    // are written plain, ó is Windows-1252's own; '!' and the blanks are
    // no letters.
    const Cp1252Text text =
        decode_to_cp1252("\xC5\x81\xC3\xB3" "d\xC5\xBA \xC4\x8D! \xE0\xA4\x95");
    ASSERT_EQ(text.bytes, "?\xF3" "dz c! ?");
    const LetterCounts all = count_letters(text, text.bytes);
    EXPECT_EQ(all.letters, 6u);
    EXPECT_EQ(all.changed, 2u);
    EXPECT_EQ(all.unwritable, 2u);
    EXPECT_EQ(all.replaced, 2u);
    const LetterCounts tail = count_letters(text, std::string_view(text.bytes).substr(5));
    EXPECT_EQ(tail.letters, 2u);
    EXPECT_EQ(tail.changed, 1u);
    EXPECT_EQ(tail.unwritable, 1u);
    // Text taken as it stands keeps every byte.
    const Cp1252Text as_is = decode_to_cp1252("caf\xE9 \xFC");
    EXPECT_EQ(count_letters(as_is, as_is.bytes).letters, 5u);
    EXPECT_EQ(count_letters(as_is, as_is.bytes).changed, 0u);
}

TEST(TextDecoding, EveryWindows1252ByteGoesToUtf8AndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = cp1252_to_utf8(all);
    const Cp1252Text back = decode_to_cp1252(utf8);
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(back.replaced, 0u);
    EXPECT_EQ(cp1252_to_utf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(cp1252_to_utf8("\x81"), "\xC2\x81");  // undefined: its control character
}

}  // namespace
}  // namespace lyro
