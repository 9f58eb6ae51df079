// The letter table made from UnicodeData.txt: plain letters for what
// Windows-1252 lacks, letters and nonspacing marks.
#include <gtest/gtest.h>

#include <optional>

#include "songtool/chordpro/unicode_letters.h"

namespace lyro {
namespace {

struct PlainRow {
    const char* what;
    char32_t c;
    std::optional<char> plain;
};

TEST(UnicodeLetters, PlainLetterOnlyWhereWindows1252LacksTheLetter) {
    const PlainRow rows[] = {
        {"c with caron", U'\u010D', 'c'},
        {"C with caron", U'\u010C', 'C'},
        {"o with double acute", U'\u0151', 'o'},
        {"u with ring", U'\u016F', 'u'},
        {"u with diaeresis and macron stops at u with diaeresis", U'\u01D6', '\xFC'},
        {"c with cedilla and acute stops at c with cedilla", U'\u1E09', '\xE7'},
        {"s with two dots goes down two steps", U'\u1E69', 's'},
        {"Kelvin sign is K alone", U'\u212A', 'K'},
        {"l with stroke has no decomposition", U'\u0142', std::nullopt},
        {"e with acute has its own byte", U'\u00E9', std::nullopt},
        {"ASCII has its own byte", U'a', std::nullopt},
        {"a compatibility decomposition is not followed", U'\u01C5', std::nullopt},
        {"Devanagari ka", U'\u0915', std::nullopt},
        {"a lone caron", U'\u030C', std::nullopt},
        {"beyond every table", U'\U0010FFFF', std::nullopt},
    };
    for (const PlainRow& row : rows) EXPECT_EQ(plain_letter(row.c), row.plain) << row.what;
}

TEST(UnicodeLetters, LettersAndMarksByGeneralCategory) {
    struct Row {
        char32_t c;
        bool letter;
        bool mark;
    };
    const Row rows[] = {
        {U'a', true, false},          {U'\u010D', true, false},     {U'\u01C5', true, false},  // Lt
        {U'\u02B0', true, false},     {U'\u0915', true, false},     {U'\u0142', true, false},
        // Ideographs listed only as First and Last lines, at both ends.
        {U'\u4E00', true, false},     {U'\u7384', true, false},     {U'\u9FFF', true, false},
        {U'\u4DBF', true, false},     {U'\u4DC0', false, false},    {U'\U00020001', true, false},
        {U'\u0300', false, true},     {U'\u030C', false, true},     {U'\u036F', false, true},
        {U'\u0BBE', false, false},  // a spacing mark (Mc)
        {U'5', false, false},         {U'?', false, false},         {U' ', false, false},
        {U'\0', false, false},        {U'\U0010FFFF', false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(is_letter(row.c), row.letter) << std::hex << static_cast<unsigned>(row.c);
        EXPECT_EQ(is_combining_mark(row.c), row.mark) << std::hex << static_cast<unsigned>(row.c);
    }
}

}  // namespace
}  // namespace lyro
