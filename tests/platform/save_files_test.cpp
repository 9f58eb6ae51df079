// The system's own file operations under every save.
#include "platform/save_files.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_files.h"

namespace lyro {
namespace {

using test::read_file;
using test::ScratchDir;
using test::write_file;

TEST(SystemFiles, ReadsAndWritesBytesUnchanged) {
    ScratchDir dir;
    SystemFiles files;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(files.write_whole(dir.file("a"), bytes));
    std::string back;
    ASSERT_TRUE(files.read_whole(dir.file("a"), back));
    EXPECT_EQ(back, bytes);
    EXPECT_TRUE(files.read_whole(dir.file("a"), back));  // replaces, never appends
    EXPECT_EQ(back.size(), bytes.size());

    const std::string_view parts[] = {"one ", "", "two"};
    ASSERT_TRUE(files.write_durably(dir.file("a"), parts));
    EXPECT_EQ(read_file(dir.file("a")), "one two");
}

TEST(SystemFiles, ReportsWhatItCannotDo) {
    ScratchDir dir;
    SystemFiles files;
    std::string bytes;
    EXPECT_FALSE(files.read_whole(dir.file("missing"), bytes));
    EXPECT_FALSE(files.write_whole(dir.file("no-folder/a"), "x"));
    EXPECT_FALSE(files.replace(dir.file("missing"), dir.file("b")));
    EXPECT_TRUE(files.remove(dir.file("missing")));
    EXPECT_FALSE(files.exists(dir.file("missing")));
}

TEST(SystemFiles, LinksAndNewNamesNeverTakeAnExistingName) {
    ScratchDir dir;
    SystemFiles files;
    write_file(dir.file("a"), "A");
    write_file(dir.file("b"), "B");
    EXPECT_FALSE(files.hard_link(dir.file("a"), dir.file("b")));
    EXPECT_FALSE(files.rename_new(dir.file("a"), dir.file("b")));
    EXPECT_EQ(read_file(dir.file("b")), "B");
    EXPECT_EQ(read_file(dir.file("a")), "A");

    EXPECT_TRUE(files.rename_new(dir.file("a"), dir.file("c")));
    EXPECT_FALSE(files.exists(dir.file("a")));
    EXPECT_EQ(read_file(dir.file("c")), "A");

    EXPECT_TRUE(files.replace(dir.file("c"), dir.file("b")));
    EXPECT_EQ(read_file(dir.file("b")), "A");
    EXPECT_FALSE(files.exists(dir.file("c")));
}

}  // namespace
}  // namespace lyro
