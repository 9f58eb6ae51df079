// WIN.INI text as the Windows profile reads and writes it. The reading rows
// are what GetProfileIntA answers under Wine for the same text, so that a
// native reader and songdesk under Wine agree on every value.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_text.h"

namespace lyro {
namespace {

struct ReadRow {
    const char* text;
    const char* key;
    int expected;  // read with the fallback 77
};

// The integer that `key` of [LYROVANT] reads as in `text`.
int read_key(std::string_view text, std::string_view key) {
    return profile_int(ini_value(text, "LYROVANT", key), 77);
}

TEST(IniReading, ValuesReadAsTheProfileReadsThem) {
    const ReadRow rows[] = {
        {"[LYROVANT]\r\nTERMINATE=1\r\n", "TERMINATE", 1},
        {"[LYROVANT]\nTERMINATE=1", "TERMINATE", 1},          // LF only, no last line end
        {"[LYROVANT]\r\nTERMINATE=0\r\n", "TERMINATE", 0},
        {"[LYROVANT]\r\nRUNNING=1\r\n", "TERMINATE", 77},     // missing key
        {"[OTHER]\r\nTERMINATE=1\r\n", "TERMINATE", 77},      // missing section
        {"", "TERMINATE", 77},
        {"[LYROVANT]\r\nTERMINATE=\r\n", "TERMINATE", 77},    // empty value
        {"[LYROVANT]\r\nTERMINATE=  \r\n", "TERMINATE", 77},  // blank value
        {"[LYROVANT]\r\nTERMINATE\r\n", "TERMINATE", 77},     // no '='
        {"[LYROVANT]\r\nTERMINATE=stop\r\n", "TERMINATE", 0}, // text
        {"[LYROVANT]\r\nTERMINATE=-\r\n", "TERMINATE", 0},
        {"[LYROVANT]\r\nTERMINATE=+-4\r\n", "TERMINATE", 0},
        {"[LYROVANT]\r\nTERMINATE=12abc\r\n", "TERMINATE", 12},
        {"[LYROVANT]\r\nTERMINATE=1;comment\r\n", "TERMINATE", 1},
        {"[LYROVANT]\r\nTERMINATE= 12 34\r\n", "TERMINATE", 12},
        {"[LYROVANT]\r\nTERMINATE=-3\r\n", "TERMINATE", -3},
        {"[LYROVANT]\r\nTERMINATE=+5\r\n", "TERMINATE", 5},
        {"[LYROVANT]\r\nTERMINATE=-0\r\n", "TERMINATE", 0},
        {"[LYROVANT]\r\nTERMINATE=\t\t3\t\r\n", "TERMINATE", 3},
        {"[LYROVANT]\r\nTERMINATE=\"9\"\r\n", "TERMINATE", 9},     // quotes removed
        {"[LYROVANT]\r\nTERMINATE='8'\r\n", "TERMINATE", 8},
        {"[LYROVANT]\r\nTERMINATE=\" 7 \"\r\n", "TERMINATE", 7},
        {"[LYROVANT]\r\nTERMINATE=\"9\r\n", "TERMINATE", 0},       // one quote is text
        {"[LYROVANT]\r\nTERMINATE=\"6\"x\r\n", "TERMINATE", 0},
        {"[LYROVANT]\r\nTERMINATE=99999999999\r\n", "TERMINATE", 1215752191},  // wraps
        {"[LYROVANT]\r\nTERMINATE=4294967295\r\n", "TERMINATE", -1},
        {"[LYROVANT]\r\nTERMINATE=2147483648\r\n", "TERMINATE", -2147483648},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(read_key(row.text, row.key), row.expected);
    }
}

TEST(IniReading, NamesMatchWithoutCaseOrBlanksAndTheFirstOneCounts) {
    const ReadRow rows[] = {
        {"[ lyrovant ]\r\n  terminate  =  7  \r\n", "TERMINATE", 7},
        {"  [LYROVANT]   junk\r\nTERMINATE=6\r\n", "TERMINATE", 6},
        {"junk\r\n[LYROVANT]\r\nTERMINATE=6\r\n", "TERMINATE", 6},
        {"TERMINATE=3\r\n[LYROVANT]\r\nRUNNING=1\r\n", "TERMINATE", 77},  // before any section
        {"[LYROVANT]\r\nTERMINATE=1\r\nTERMINATE=2\r\n", "TERMINATE", 1},
        {"[LYROVANT]\r\nA=5\r\n[LYROVANT]\r\nTERMINATE=6\r\n", "TERMINATE", 77},
        {"[LYROVANT]\r\n;TERMINATE=3\r\nTERMINATE=4\r\n", "TERMINATE", 4},
        {"[LYROVANT]\r\n#TERMINATE=5\r\n", "#TERMINATE", 5},  // '#' is no comment
        {"[LYROVANT\r\nTERMINATE=5\r\n", "TERMINATE", 77},    // header without ']'
        {"[LYROVANT]\r\nRUNNING=1\r\n[NEXT]\r\nTERMINATE=1\r\n", "TERMINATE", 77},
        {"\xEF\xBB\xBF[LYROVANT]\r\nTERMINATE=6\r\n", "TERMINATE", 6},  // UTF-8 mark
        {"[LYROVANT]\r\nTERMINATE=5\r\r\nRUNNING=6\r\n", "RUNNING", 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(read_key(row.text, row.key), row.expected);
    }
}

struct WriteRow {
    const char* before;
    const char* key;
    const char* value;
    const char* after;
};

TEST(IniWriting, OnlyTheKeysLineChangesAndNewLinesAreWrittenAsWineWritesThem) {
    const WriteRow rows[] = {
        // A new file, and a new section after the others, as Wine writes them.
        {"", "RUNNING", "1", "[LYROVANT]\r\nRUNNING=1\r\n"},
        {"[mail]\r\nmapi=1\r\n", "RUNNING", "1", "[mail]\r\nmapi=1\r\n[LYROVANT]\r\nRUNNING=1\r\n"},
        {"[mail]\nmapi=1", "RUNNING", "1", "[mail]\nmapi=1\r\n[LYROVANT]\r\nRUNNING=1\r\n"},
        // A key in place, its line end and every other byte kept.
        {"; top\n\n[mail]\nmapi=1\n[LYROVANT]\nTERMINATE=0\nRUNNING=1\n[x]\ny=2\n", "TERMINATE",
         "1", "; top\n\n[mail]\nmapi=1\n[LYROVANT]\nTERMINATE=1\nRUNNING=1\n[x]\ny=2\n"},
        {"[LYROVANT]\r\n  terminate  = 0 \r\n", "TERMINATE", "1", "[LYROVANT]\r\nterminate=1\r\n"},
        {"[LYROVANT]\r\nTERMINATE=0", "TERMINATE", "1", "[LYROVANT]\r\nTERMINATE=1"},
        // A new key after the section's last line that is not blank.
        {"[LYROVANT]\r\nA=1\r\n\r\n[x]\r\n", "TERMINATE", "0",
         "[LYROVANT]\r\nA=1\r\nTERMINATE=0\r\n\r\n[x]\r\n"},
        {"[LYROVANT]\r\nA=1", "TERMINATE", "0", "[LYROVANT]\r\nA=1\r\nTERMINATE=0\r\n"},
        // A last line cut off after its CR keeps its value: only the LF is added.
        {"[LYROVANT]\r\nA=1\r", "TERMINATE", "0", "[LYROVANT]\r\nA=1\r\nTERMINATE=0\r\n"},
        {"[mail]\r\nmapi=1\r", "RUNNING", "1", "[mail]\r\nmapi=1\r\n[LYROVANT]\r\nRUNNING=1\r\n"},
        {"[LYROVANT]\r\n", "TERMINATE", "0", "[LYROVANT]\r\nTERMINATE=0\r\n"},
        {"[LYROVANT]\r\n;TERMINATE=5\r\n", "TERMINATE", "0",
         "[LYROVANT]\r\n;TERMINATE=5\r\nTERMINATE=0\r\n"},
        // The first of two sections of the same name.
        {"[LYROVANT]\r\nA=1\r\n[LYROVANT]\r\nB=2\r\n", "B", "3",
         "[LYROVANT]\r\nA=1\r\nB=3\r\n[LYROVANT]\r\nB=2\r\n"},
        {"\xEF\xBB\xBF[LYROVANT]\r\nA=1\r\n", "A", "2", "\xEF\xBB\xBF[LYROVANT]\r\nA=2\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before);
        EXPECT_EQ(ini_with_value(row.before, "LYROVANT", row.key, row.value), row.after);
    }
}

TEST(IniWriting, WrittenValuesReadBack) {
    std::string text = "[mail]\r\nmapi=1\r\n";
    text = ini_with_value(text, "LYROVANT", "RUNNING", "1");
    text = ini_with_value(text, "LYROVANT", "TERMINATE", "0");
    text = ini_with_value(text, "LYROVANT", "SONGREQUEST", "3");
    text = ini_with_value(text, "LYROVANT", "RUNNING", "0");
    EXPECT_EQ(text,
              "[mail]\r\nmapi=1\r\n[LYROVANT]\r\nRUNNING=0\r\nTERMINATE=0\r\nSONGREQUEST=3\r\n");
    EXPECT_EQ(read_key(text, "SONGREQUEST"), 3);
    EXPECT_EQ(profile_int(ini_value(text, "mail", "MAPI"), 77), 1);
}

TEST(IniWriting, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    EXPECT_TRUE(is_ini_name("TERMINATE"));
    EXPECT_TRUE(is_ini_name("A;B"));
    using namespace std::string_literals;
    for (const std::string& bad :
         {""s, " A"s, "A "s, "A=B"s, "[A"s, "A]"s, "A\nB"s, "A\rB"s, ";A"s, "A\0B"s}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(is_ini_name(bad));
    }
    EXPECT_TRUE(is_ini_value(""));
    EXPECT_TRUE(is_ini_value("1 = [x]"));
    EXPECT_FALSE(is_ini_value("1\r\n[x]"));
    EXPECT_FALSE(is_ini_value("1\n"));
    EXPECT_FALSE(is_ini_value(std::string("1\0", 2)));
}

}  // namespace
}  // namespace lyro
