// Realistic ChordPro files, as song apps export them, and the exact
// songbook bytes each one becomes (files/NAME.cho and files/NAME.lyr).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "songtool/chordpro/chordpro_import.h"

namespace lyro {
namespace {

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class SongFile : public ::testing::TestWithParam<const char*> {};

TEST_P(SongFile, BecomesExactlyTheExpectedSongbookBytes) {
    const std::string base = std::string(LYRO_SONG_FILES) + "/" + GetParam();
    const ImportOutcome outcome = import_chordpro(read_bytes(base + ".cho"), GetParam());
    ASSERT_TRUE(std::holds_alternative<ImportedSong>(outcome))
        << std::get<ImportRefusal>(outcome).reason;
    EXPECT_EQ(song_in_book_form(std::get<ImportedSong>(outcome)), read_bytes(base + ".lyr"));
}

// Verses, a chorus, slash chords, chords in words and past line ends, a
// line of chords alone, accents in UTF-8 with a byte-order mark, a tab,
// CR LF and LF line ends, directives the songbook has no place for.
INSTANTIATE_TEST_SUITE_P(Realistic, SongFile,
                         ::testing::Values("morning_light", "still_waters", "cafe_noel",
                                           "blues_in_a", "old_hundredth"));

}  // namespace
}  // namespace lyro
