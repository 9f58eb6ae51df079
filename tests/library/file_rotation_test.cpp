// The songbook's rotation through temp.lyr and oldbook.lyr, with each step
// made to fail in turn.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "library/file_rotation.h"
#include "tests/platform/faulty_files.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::file_exists;
using test::read_file;
using test::ScratchDir;
using test::write_file;

constexpr std::string_view kOld = "::::: Old ::::: KEY=xx\r\n \r\nold line \r\n";
constexpr std::string_view kNew = "::::: New ::::: KEY=xx\r\n \r\nnew line \r\n";
constexpr std::string_view kEarlierBackup = "an earlier backup\r\n";

class Rotation : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(names.songbook, kOld);
        write_file(names.oldbook, kEarlierBackup);
        write_file(names.temp, "stale scratch text");
        // Whatever happens, at every moment the songbook is one of the two
        // texts, whole.
        files.after_each = [this] {
            const std::string now = read_file(names.songbook);
            EXPECT_TRUE(now == kOld || now == kNew) << "songbook holds: " << now;
        };
    }
    lyro::Rotation rotate() {
        const std::string_view parts[] = {kNew.substr(0, 5), kNew.substr(5)};
        return rotate_songbook(files, names, kOld, parts);
    }

    ScratchDir dir;
    RotationNames names{dir.file("songbook.lyr"), dir.file("oldbook.lyr"), dir.file("temp.lyr")};
    test::FaultyFiles files;
};

TEST_F(Rotation, TheNewTextBecomesTheSongbookAndTheOldOneTheBackup) {
    EXPECT_EQ(rotate(), lyro::Rotation::done);
    EXPECT_EQ(read_file(names.songbook), kNew);
    EXPECT_EQ(read_file(names.oldbook), kOld);
    EXPECT_FALSE(file_exists(names.temp));
}

TEST_F(Rotation, TempIsWrittenWholeBeforeAnythingIsRenamed) {
    rotate();
    ASSERT_FALSE(files.log.empty());
    EXPECT_EQ(files.log.front(), "write temp.lyr");
    EXPECT_EQ(files.log.back(), "replace temp.lyr");
}

TEST_F(Rotation, WithoutHardLinksTheBackupIsACopy) {
    files.no_hard_links = true;
    EXPECT_EQ(rotate(), lyro::Rotation::done);
    EXPECT_EQ(read_file(names.songbook), kNew);
    EXPECT_EQ(read_file(names.oldbook), kOld);
    EXPECT_FALSE(file_exists(names.temp));
}

struct FailedStep {
    const char* step;
    const char* file;
    bool no_hard_links;
    lyro::Rotation result;
    std::string_view backup_after;  // "" when no backup is left
};

TEST_F(Rotation, AFailedStepLeavesTheSongbookAsItWasAndNoScratchFile) {
    const FailedStep steps[] = {
        {"write", "temp.lyr", false, lyro::Rotation::temp_not_written, kEarlierBackup},
        {"remove", "oldbook.lyr", false, lyro::Rotation::backup_not_made, kEarlierBackup},
        {"write", "oldbook.lyr", true, lyro::Rotation::backup_not_made, ""},
        {"replace", "temp.lyr", false, lyro::Rotation::not_replaced, kOld},
        {"replace", "temp.lyr", true, lyro::Rotation::not_replaced, kOld},
    };
    for (const FailedStep& s : steps) {
        SCOPED_TRACE(std::string(s.step) + " " + s.file + (s.no_hard_links ? " without links" : ""));
        // Fresh files: the last round may have left the two names linked.
        std::filesystem::remove(names.songbook);
        std::filesystem::remove(names.oldbook);
        write_file(names.songbook, kOld);
        write_file(names.oldbook, kEarlierBackup);
        files.fail(s.step, s.file);
        files.no_hard_links = s.no_hard_links;

        EXPECT_EQ(rotate(), s.result);
        EXPECT_EQ(read_file(names.songbook), kOld);
        EXPECT_FALSE(file_exists(names.temp));
        if (s.backup_after.empty()) {
            EXPECT_FALSE(file_exists(names.oldbook));
        } else {
            EXPECT_EQ(read_file(names.oldbook), s.backup_after);
        }
    }
}

TEST_F(Rotation, ASaveAfterAFailedOneWorks) {
    files.fail("replace", "temp.lyr");
    EXPECT_EQ(rotate(), lyro::Rotation::not_replaced);
    files.fail("");
    EXPECT_EQ(rotate(), lyro::Rotation::done);
    EXPECT_EQ(read_file(names.songbook), kNew);
    EXPECT_EQ(read_file(names.oldbook), kOld);
}

TEST(CreateWhole, AppearsWholeAndNeverOverwrites) {
    ScratchDir dir;
    test::FaultyFiles files;
    const std::string target = dir.file("songbook.lyr");
    const std::string temp = dir.file("temp.lyr");

    EXPECT_TRUE(create_whole(files, temp, target, "text\r\n"));
    EXPECT_EQ(read_file(target), "text\r\n");
    EXPECT_FALSE(file_exists(temp));

    EXPECT_FALSE(create_whole(files, temp, target, "other\r\n"));
    EXPECT_EQ(read_file(target), "text\r\n");
    EXPECT_FALSE(file_exists(temp));
}

TEST(CreateWhole, AFailedWriteLeavesNoFile) {
    ScratchDir dir;
    test::FaultyFiles files;
    files.fail("write", "temp.lyr");
    EXPECT_FALSE(create_whole(files, dir.file("temp.lyr"), dir.file("songbook.lyr"), "text"));
    EXPECT_FALSE(file_exists(dir.file("songbook.lyr")));
    EXPECT_FALSE(file_exists(dir.file("temp.lyr")));
}

}  // namespace
}  // namespace lyro
