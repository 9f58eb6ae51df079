// The songbook model against the format's reader taken byte by byte, on
// random files full of the format's traps: the lines it delivers, the
// beeps, the physical lines it keeps, and what a lookup of a title finds.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "library/song_loading.h"
#include "library/songbook.h"
#include "library/title_ops.h"
#include "tests/library/reference_reader.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

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

TEST(Songbook, DeliversTheReadersLinesAndBeepsOnEveryMixture) {
    std::mt19937 gen(23);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const std::size_t size = round % 3 == 0 ? 70000 : 5000;
        while (bytes.size() < size) bytes += random_line(gen);
        if (round % 4 == 1) bytes.insert(gen() % bytes.size(), 1, '\x1a');
        const test::ReferenceRead expected = test::reference_read(bytes);
        const test::ReferenceRead model = test::model_read(bytes);
        ASSERT_EQ(model.lines, expected.lines) << "round " << round;
        ASSERT_EQ(model.beeps_through, expected.beeps_through) << "round " << round;
    }
}

// Random songbook bytes: lines of every length around the reader's cut,
// with CRs, comments, Ctrl-Z and markers mixed in.
std::string random_book(std::mt19937& random) {
    static constexpr std::string_view kBytes = "ab ;:\r\r\n\n#*";
    std::string text;
    const int lines = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < lines; ++i) {
        const int length = std::uniform_int_distribution<int>(0, 2500)(random);
        for (int k = 0; k < length; ++k) {
            text += kBytes[std::uniform_int_distribution<std::size_t>(0, kBytes.size() - 1)(random)];
        }
        text += std::uniform_int_distribution<int>(0, 3)(random) == 0 ? "\n" : "\r\n";
        if (std::uniform_int_distribution<int>(0, 40)(random) == 0) text += '\x1a';
    }
    return text;
}

TEST(Songbook, DeliversTheReadersLinesOnByteSoup) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = random_book(random);
        const test::ReferenceRead expected = test::reference_read(bytes);
        const test::ReferenceRead model = test::model_read(bytes);
        ASSERT_EQ(model.lines, expected.lines) << "round " << round;
        ASSERT_EQ(model.beeps_through, expected.beeps_through) << "round " << round;
    }
}

// The kind each delivered line has by the format's rules.
std::vector<LineKind> kinds_by_rule(const Lines& lines) {
    std::vector<LineKind> kinds;
    for (const std::string& line : lines) {
        kinds.push_back(holds(line, kEndMarker)   ? LineKind::end_marker
                        : holds(line, kHeaderMark) ? LineKind::header
                        : holds(line, kLabelMark)  ? LineKind::label
                                                   : LineKind::body);
    }
    return kinds;
}

// Every trap of a line, moved across every place where the model's quick
// reading divides the bytes into blocks: a CR LF split between blocks, a
// lone CR, a mark whose colons stand in two blocks, a Ctrl-Z.
TEST(Songbook, ReadsEveryLineAlikeWhereverTheBytesDivide) {
    const std::string traps = "::::: Title ::::: KEY=G\r\n a:b\r\nlone\rCR\r\n***** L *****\n;c\r\n" +
                              std::string(989, 'w') + "\r\n" + std::string(990, 'w') + "\r\n" +
                              "#*#*#\r\nafter";
    for (std::size_t shift = 0; shift < 200; ++shift) {
        for (const std::string& tail : {traps, traps + "\x1a:::::", "x\r\r\n" + traps}) {
            const std::string bytes = std::string(shift, 's') + "\r\n" + tail;
            SCOPED_TRACE(testing::Message() << "shift " << shift);
            const test::ReferenceRead expected = test::reference_read(bytes);
            ASSERT_EQ(test::model_read(bytes).lines, expected.lines);
            std::vector<LineKind> kinds;
            const Songbook book(bytes);
            for (const BookLine& line : book.lines())
                if (line.visible()) kinds.push_back(line.kind);
            ASSERT_EQ(kinds, kinds_by_rule(expected.lines));
        }
    }
}

TEST(Songbook, CrLfCountsLikeLfAtTheCut) {
    test::ReferenceRead read = test::model_read(std::string(989, 'x') + "\r\nnext\r\n");
    EXPECT_EQ(read.lines, (Lines{std::string(989, 'x'), "next"}));
    EXPECT_EQ(read.beeps, 0);

    read = test::model_read(std::string(990, 'x') + "\r\nnext\r\n");
    EXPECT_EQ(read.lines, (Lines{std::string(990, 'x') + "\n", "next"}));
    EXPECT_EQ(read.beeps, 1);

    read = test::model_read(";" + std::string(988, 'c') + "\r\nshown\r\n");
    EXPECT_EQ(read.lines, Lines{"shown"});
}

// Copied piece by piece with their line ends, the physical lines give the
// readable text back, CRs aside; their numbers count the file's lines.
TEST(Songbook, KeepsEveryStoredByteOfThePhysicalLines) {
    std::mt19937 gen(20261208);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        while (bytes.size() < 6000) bytes += random_line(gen);
        if (round % 3 == 0) bytes.insert(gen() % bytes.size(), 1, '\x1a');
        const Songbook book{bytes};
        std::string copied;
        std::size_t line_ends = 0;
        for (const BookLine& line : book.lines()) {
            EXPECT_EQ(line.number, line_ends + 1);
            copied += line.physical_text();
            if (line.line_end) {
                copied += '\n';
                ++line_ends;
            }
        }
        std::string expected(book.readable());
        std::erase(expected, '\r');
        EXPECT_EQ(copied, expected) << "round " << round;
        EXPECT_EQ(std::string(book.readable()) + std::string(book.after_text()), bytes);
    }
}

struct Lookup {
    bool found = false;
    Lines lines;
    int beeps = 0;
    bool operator==(const Lookup&) const = default;
};

// A lookup as the format describes it: the reader's lines from the top, to
// the first header of the folded title, stopping at the end marker; the
// body up to the next header or end marker, cleaned and cut.
Lookup from_the_top(std::string_view bytes, std::string_view title) {
    const test::ReferenceRead read = test::reference_read(bytes);
    Lookup result;
    std::size_t i = 0;
    for (; i < read.lines.size() && !holds(read.lines[i], kEndMarker); ++i) {
        if (holds(read.lines[i], kHeaderMark) && folded(header_title(read.lines[i])) == folded(title)) {
            result.found = true;
            break;
        }
    }
    if (result.found) {
        std::string scratch;
        for (++i; i < read.lines.size(); ++i) {
            if (holds(read.lines[i], kEndMarker) || holds(read.lines[i], kHeaderMark)) break;
            result.lines.emplace_back(song_line(read.lines[i], scratch));
        }
    }
    result.beeps = i < read.lines.size() ? read.beeps_through[i] : read.beeps;
    return result;
}

Lookup from_the_model(const Songbook& book, std::string_view title) {
    Lookup result;
    const auto song = book.find(title);
    result.found = song.has_value();
    if (song) for_each_song_line(book, *song, [&](std::string_view line) { result.lines.emplace_back(line); });
    result.beeps = static_cast<int>(book.lookup_cuts(song));
    return result;
}

const char* const kTitles[] = {"Amazing Grace", "amazing grace", "Amazing Grace  ", "AMAZING GRACE",
                               "Be Thou My Vision", "/Hidden", "Zion", "zion "};

std::string random_book_line(std::mt19937& rng) {
    switch (rng() % 9) {
        case 0: return "::::: " + std::string(kTitles[rng() % 8]) + " ::::: KEY=xx";
        case 1: return "***** Advent *****";
        case 2: return "#*#*#";
        case 3: return "; a comment";
        case 4: return std::string(900 + rng() % 300, 'x');  // cut by the reader now and then
        case 5: return "\\par words \\tab here";
        case 6: return std::string(120, 'w');
        default: return " G   C   D7<  words " + std::to_string(rng() % 100);
    }
}

TEST(Songbook, FindsWhatALookupFromTheTopFinds) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int lines = static_cast<int>(rng() % 60);
        for (int i = 0; i < lines; ++i) text += random_book_line(rng) + (rng() % 4 ? "\r\n" : "\n");
        const Songbook book{text};
        for (const char* title : kTitles) {
            SCOPED_TRACE(testing::Message() << "book " << round << ", title \"" << title << "\"");
            EXPECT_EQ(from_the_model(book, title), from_the_top(text, title));
        }
    }
}

TEST(Songbook, KindsAndTheEndMarker) {
    const Songbook book{std::string("free\n;x :::::\n::::: A\n***** L *****\n#*#*# :::::\n::::: B\n")};
    const auto lines = book.lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].kind, LineKind::body);
    EXPECT_EQ(lines[1].kind, LineKind::comment);
    EXPECT_EQ(lines[2].kind, LineKind::header);
    EXPECT_EQ(lines[3].kind, LineKind::label);
    EXPECT_EQ(lines[4].kind, LineKind::end_marker);  // the end marker counts first
    EXPECT_EQ(book.end_marker(), 4u);
    ASSERT_TRUE(book.find("a"));
    EXPECT_EQ(book.find("a")->end, 4u);  // a label does not end a body
    EXPECT_FALSE(book.find("B"));        // behind the end marker
}

}  // namespace
}  // namespace lyro
