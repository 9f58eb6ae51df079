// On Windows (and under Wine): the INI file code and the profile calls
// share WIN.INI, each reading what the other wrote the same way. This is
// what lets a native songserv and songdesk under Wine coordinate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ini_file_profile.h"
#include "platform/profile_store.h"

namespace lyro {
namespace {

// A section of its own, so that programs using [LYROVANT] meanwhile are
// not disturbed.
constexpr std::string_view kTestSection = "LYROTEST";

std::string win_ini_path() {
    const char* windir = std::getenv("WINDIR");
    return std::string(windir ? windir : "C:\\windows") + "\\win.ini";
}

const char* const kValues[] = {"1", "0", "2", "-3", "12abc", "stop", "\"9\"", " 7", "99999999999"};

TEST(ProfileCalls, WhatTheProfileCallsWriteTheFileCodeReadsAlike) {
    auto calls = open_user_profile(kTestSection);
    IniFileProfile file(win_ini_path(), kTestSection);
    for (const char* value : kValues) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(calls->write_string("FROMCALLS", value));
        EXPECT_EQ(file.read_int("FROMCALLS", 77), calls->read_int("FROMCALLS", 77));
    }
    EXPECT_EQ(file.read_int("NOSUCHKEY", 77), 77);
}

TEST(ProfileCalls, WhatTheFileCodeWritesTheProfileCallsReadAtOnce) {
    auto calls = open_user_profile(kTestSection);
    IniFileProfile file(win_ini_path(), kTestSection);
    for (const char* value : kValues) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(file.write_string("FROMFILE", value));
        EXPECT_EQ(calls->read_int("FROMFILE", 77), file.read_int("FROMFILE", 77));
    }
    ASSERT_TRUE(file.write_string("FROMFILE", "1"));
    EXPECT_EQ(calls->read_int("FROMFILE", 77), 1);
}

}  // namespace
}  // namespace lyro
