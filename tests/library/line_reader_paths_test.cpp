// The line reader's quick paths: CR LF taken in one step, Ctrl-Z found once
// per read buffer, and both where a line crosses from one buffer into the
// next (the reader reads 64 KiB at a time).
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "library/book_file.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;
constexpr std::size_t kBuffer = 64 * 1024;

struct Read {
    Lines lines;
    int beeps = 0;
};

Read read_all(std::string_view bytes) {
    test::ScratchDir dir;
    const std::string path = dir.file("book.lyr");
    test::write_file(path, bytes);
    BookFile book(path);
    EXPECT_TRUE(book.is_open());
    test::CountingBeeper beeper;
    Read read;
    std::string line;
    while (get_book_line(book, line, beeper)) read.lines.push_back(line);
    read.beeps = beeper.count;
    return read;
}

// Filler lines of 100 bytes each (98 characters and CR LF) up to `offset`,
// so that the next byte written stands at `offset` in the file.
std::string filler_up_to(std::size_t offset, Lines& expected) {
    std::string bytes;
    while (bytes.size() + 100 <= offset) {
        expected.emplace_back(98, 'f');
        bytes += std::string(98, 'f') + "\r\n";
    }
    const std::size_t rest = offset - bytes.size();
    if (rest >= 2) {
        expected.emplace_back(rest - 2, 'g');
        bytes += std::string(rest - 2, 'g') + "\r\n";
    } else {
        bytes += std::string(rest, '\n');
        expected.insert(expected.end(), rest, "");
    }
    return bytes;
}

TEST(LineReaderPaths, CrLfCountsLikeLfAtTheCut) {
    Read read = read_all(std::string(989, 'x') + "\r\nnext\r\n");
    EXPECT_EQ(read.lines, (Lines{std::string(989, 'x'), "next"}));
    EXPECT_EQ(read.beeps, 0);

    read = read_all(std::string(990, 'x') + "\r\nnext\r\n");
    EXPECT_EQ(read.lines, (Lines{std::string(990, 'x') + "\n", "next"}));
    EXPECT_EQ(read.beeps, 1);

    read = read_all(";" + std::string(988, 'c') + "\r\nshown\r\n");
    EXPECT_EQ(read.lines, Lines{"shown"});
}

TEST(LineReaderPaths, LineEndsSplitAcrossTwoBuffers) {
    // The CR as the last byte of the first buffer, the LF the first of the
    // next; then the LF alone as the last byte of a buffer.
    for (std::size_t cr_at : {kBuffer - 1, 2 * kBuffer - 1, kBuffer, kBuffer - 2}) {
        SCOPED_TRACE(cr_at);
        Lines expected;
        std::string bytes = filler_up_to(cr_at - 10, expected);
        bytes += "0123456789\r\nafter\r\n";
        expected.insert(expected.end(), {"0123456789", "after"});
        EXPECT_EQ(read_all(bytes).lines, expected);
    }
}

TEST(LineReaderPaths, CtrlZInALaterBufferEndsTheText) {
    Lines expected;
    std::string bytes = filler_up_to(kBuffer + 500, expected);
    bytes += "last\x1a never\r\nnever\r\n";
    expected.emplace_back("last");
    EXPECT_EQ(read_all(bytes).lines, expected);
}

TEST(LineReaderPaths, CtrlZAsTheFirstByteOfABuffer) {
    Lines expected;
    std::string bytes = filler_up_to(kBuffer, expected);
    bytes += "\x1anever\r\n";
    EXPECT_EQ(read_all(bytes).lines, expected);
}

// next_byte hands out raw bytes, Ctrl-Z included; the line reader goes on
// from wherever it left the file.
TEST(LineReaderPaths, NextByteAndTheLineReaderShareThePosition) {
    test::ScratchDir dir;
    const std::string path = dir.file("book.lyr");
    test::write_file(path, "ab\x1a" "cd\r\nef\x1agh\n");
    BookFile book(path);
    EXPECT_EQ(book.next_byte(), 'a');
    EXPECT_EQ(book.next_byte(), 'b');
    EXPECT_EQ(book.next_byte(), 0x1a);
    test::CountingBeeper beeper;
    std::string line;
    ASSERT_TRUE(get_book_line(book, line, beeper));
    EXPECT_EQ(line, "cd");
    ASSERT_TRUE(get_book_line(book, line, beeper));
    EXPECT_EQ(line, "ef");
    EXPECT_FALSE(get_book_line(book, line, beeper));
    EXPECT_EQ(book.next_byte(), -1);
}

}  // namespace
}  // namespace lyro

namespace lyro {
namespace {

// A line of a length around the places where the reader's rules change:
// empty, short, at the cut (989 to 991 characters) and well past it.
std::string random_line(std::mt19937& gen) {
    static constexpr std::size_t kLengths[] = {0, 1, 2, 30, 988, 989, 990, 991, 992, 2500};
    std::string line(kLengths[gen() % std::size(kLengths)], 'x');
    // A CR inside a line, in some lines only: most lines must be usual.
    if (!line.empty() && gen() % 4 == 0) line[gen() % line.size()] = '\r';
    if (!line.empty() && gen() % 6 == 0) line.front() = ';';
    static constexpr const char* kEnds[] = {"\r\n", "\n", "\r\r\n", "\r", ""};
    return line + kEnds[gen() % std::size(kEnds)];
}

Read read_viewed(const std::string& path) {
    BookFile book(path);
    test::CountingBeeper beeper;
    Read read;
    std::string_view line;
    while (next_book_line(book, line, beeper)) read.lines.emplace_back(line);
    read.beeps = beeper.count;
    return read;
}

// The viewed reader takes the usual lines where they stand and hands the
// rest to the copying one: on every mixture of the two kinds, across read
// buffers and up to a Ctrl-Z, both deliver the same lines and beeps.
TEST(LineReaderPaths, ViewedLinesAreTheCopiedLines) {
    std::mt19937 gen(23);
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        const std::size_t size = round % 3 == 0 ? 3 * kBuffer : 5000;
        while (bytes.size() < size) bytes += random_line(gen);
        if (round % 4 == 1) bytes.insert(gen() % bytes.size(), 1, '\x1a');
        test::ScratchDir dir;
        const std::string path = dir.file("book.lyr");
        test::write_file(path, bytes);
        const Read viewed = read_viewed(path);
        const Read copied = read_all(bytes);
        ASSERT_EQ(viewed.lines, copied.lines) << "round " << round;
        ASSERT_EQ(viewed.beeps, copied.beeps) << "round " << round;
    }
}

}  // namespace
}  // namespace lyro
