// The eight-bytes-at-a-time search against a plain byte-by-byte one, on
// the bytes that trip up such tricks: the sought bytes' neighbours, 0x00,
// 0x01, 0x7f, 0x80 and 0xff, at every offset and length.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "library/byte_scan.h"

namespace lyro {
namespace {

std::size_t plain_find_either(const std::string& s, char a, char b) {
    return static_cast<std::size_t>(
        std::find_if(s.begin(), s.end(), [&](char c) { return c == a || c == b; }) - s.begin());
}

TEST(FindEither, AgreesWithAPlainSearch) {
    struct Pair {
        char a;
        char b;
    } const pairs[] = {{'\n', '\r'}, {':', '*'}, {':', '#'}, {'\0', '\x80'}, {'\xff', '\x01'}};
    std::mt19937 gen(11);
    for (const Pair& pair : pairs) {
        const std::string alphabet = {pair.a, pair.b, static_cast<char>(pair.a + 1),
                                      static_cast<char>(pair.b - 1), '\0', '\x01', '\x7f',
                                      '\x80', '\xff', 'x'};
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        for (int round = 0; round < 4000; ++round) {
            std::string s(gen() % 80, 'x');
            // Mostly harmless bytes, so that hits fall at every position.
            for (char& c : s) {
                if (gen() % 6 == 0) c = alphabet[pick(gen)];
            }
            ASSERT_EQ(find_either(s.data(), s.size(), pair.a, pair.b),
                      plain_find_either(s, pair.a, pair.b))
                << "in a string of " << s.size() << " bytes";
        }
    }
}

TEST(FindAny, FindsTheFirstOfThreeBytesAsAPlainSearchDoes) {
    std::mt19937 gen(5);
    const std::string alphabet = {':', '#', '\\', ';', '$', '[', '\0', '\x80', 'x'};
    for (int round = 0; round < 4000; ++round) {
        std::string s(gen() % 80, 'x');
        for (char& c : s) {
            if (gen() % 8 == 0) c = alphabet[gen() % alphabet.size()];
        }
        const auto plain = static_cast<std::size_t>(
            std::find_if(s.begin(), s.end(), [](char c) { return c == ':' || c == '#' || c == '\\'; }) -
            s.begin());
        ASSERT_EQ(find_any(s.data(), s.size(), ':', '#', '\\'), plain) << s;
    }
}

TEST(FindEither, NothingFoundGivesTheLength) {
    EXPECT_EQ(find_either("", 0, 'a', 'b'), 0u);
    const std::string s(100, 'x');
    EXPECT_EQ(find_either(s.data(), s.size(), 'a', 'b'), 100u);
    // A hit beyond the given length does not count.
    EXPECT_EQ(find_either("xxxxxxxxxa", 9, 'a', 'b'), 9u);
}

}  // namespace
}  // namespace lyro
