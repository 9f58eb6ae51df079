// The profile kept in a WIN.INI file on disk: every read sees the file as
// it is now, every write replaces it whole, and nothing else in it changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ini_file_profile.h"
#include "platform/profile_store.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

TEST(IniFileProfile, AMissingFileReadsAsTheFallbackAndAWriteCreatesItWithItsFolders) {
    ScratchDir dir;
    const std::string path = dir.file("prefix/drive_c/windows/win.ini");
    IniFileProfile profile(path, kProfileSection);
    EXPECT_EQ(profile.read_int(kTerminateKey, 0), 0);
    EXPECT_EQ(profile.read_int(kTerminateKey, 5), 5);

    ASSERT_TRUE(profile.write_string(kRunningKey, "1"));
    ASSERT_TRUE(profile.write_string(kTerminateKey, "0"));
    EXPECT_EQ(read_file(path), "[LYROVANT]\r\nRUNNING=1\r\nTERMINATE=0\r\n");
    EXPECT_EQ(profile.read_int(kRunningKey, 0), 1);
}

TEST(IniFileProfile, WritesKeepEveryOtherSectionAndLineAndLeaveNoScratchFile) {
    ScratchDir dir;
    const std::string path = dir.file("win.ini");
    const std::string before =
        "; the user's own notes\n[mail]\nMAPI=1\n\n[LYROVANT]\nSONGREQUEST=2\nTERMINATE=0\n"
        "[Desktop]\nWallpaper=(None)\n";
    write_file(path, before);
    IniFileProfile profile(path, kProfileSection);
    ASSERT_TRUE(profile.write_string(kTerminateKey, "1"));

    std::string expected = before;
    expected.replace(expected.find("TERMINATE=0"), 11, "TERMINATE=1");
    EXPECT_EQ(read_file(path), expected);
    EXPECT_EQ(profile.read_int(kSongRequestKey, 0), 2);
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

TEST(IniFileProfile, ChangesByOthersAreSeenAtOnce) {
    ScratchDir dir;
    const std::string path = dir.file("win.ini");
    IniFileProfile reader(path, kProfileSection);
    IniFileProfile writer(path, kProfileSection);
    ASSERT_TRUE(writer.write_string(kTerminateKey, "0"));
    EXPECT_EQ(reader.read_int(kTerminateKey, 0), 0);
    ASSERT_TRUE(writer.write_string(kTerminateKey, "1"));
    EXPECT_EQ(reader.read_int(kTerminateKey, 0), 1);
    write_file(path, "[LYROVANT]\r\nTERMINATE=stop\r\n");  // edited by hand
    EXPECT_EQ(reader.read_int(kTerminateKey, 0), 0);
}

TEST(IniFileProfile, AUtf16FileIsNeitherMisreadNorOverwritten) {
    ScratchDir dir;
    const std::string path = dir.file("win.ini");
    const std::string utf16("\xFF\xFE[\0L\0]\0\r\0\n\0", 12);
    write_file(path, utf16);
    IniFileProfile profile(path, kProfileSection);
    EXPECT_EQ(profile.read_int(kTerminateKey, 4), 4);
    EXPECT_FALSE(profile.write_string(kTerminateKey, "1"));
    EXPECT_EQ(read_file(path), utf16);
}

TEST(IniFileProfile, BadNamesOrValuesAndUnwritableFoldersFailWithoutHarm) {
    ScratchDir dir;
    write_file(dir.file("not_a_folder"), "x");
    IniFileProfile blocked(dir.file("not_a_folder/win.ini"), kProfileSection);
    EXPECT_FALSE(blocked.write_string(kTerminateKey, "1"));
    EXPECT_EQ(read_file(dir.file("not_a_folder")), "x");

    const std::string path = dir.file("win.ini");
    write_file(path, "[LYROVANT]\r\nTERMINATE=0\r\n");
    IniFileProfile profile(path, kProfileSection);
    EXPECT_FALSE(profile.write_string(kTerminateKey, "1\r\n[LYROVANT]\r\nRUNNING=5"));
    EXPECT_FALSE(profile.write_string("TERM=INATE", "1"));
    // Written, it would be a comment that no read finds.
    EXPECT_FALSE(profile.write_string(";TERMINATE", "1"));
    EXPECT_EQ(read_file(path), "[LYROVANT]\r\nTERMINATE=0\r\n");
}

#ifndef _WIN32
TEST(IniFileProfile, TheRewrittenFileKeepsItsPermissions) {
    ScratchDir dir;
    const std::string path = dir.file("win.ini");
    write_file(path, "[LYROVANT]\r\n");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    IniFileProfile profile(path, kProfileSection);
    ASSERT_TRUE(profile.write_string(kTerminateKey, "1"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Natively the user's profile is the WIN.INI of the Wine prefix, so that a
// native songserv and songdesk under Wine share the section.
TEST(UserProfile, NativelyItIsTheWinIniOfTheWinePrefix) {
    ScratchDir dir;
    const char* old = std::getenv("WINEPREFIX");
    const std::string saved = old ? old : "";
    setenv("WINEPREFIX", dir.path().string().c_str(), 1);
    auto profile = open_user_profile(kProfileSection);
    const bool written = profile->write_string(kSongRequestKey, "4");
    if (old) setenv("WINEPREFIX", saved.c_str(), 1);
    else unsetenv("WINEPREFIX");

    ASSERT_TRUE(written);
    EXPECT_EQ(read_file(dir.file("drive_c/windows/win.ini")), "[LYROVANT]\r\nSONGREQUEST=4\r\n");
    EXPECT_EQ(profile->read_int(kSongRequestKey, 0), 4);
}
#endif

}  // namespace
}  // namespace lyro
