// Realistic ChordPro files, as song apps export them, and the exact
// songbook bytes each one becomes (files/NAME.cho and files/NAME.lyr).
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "songtool/chordpro/chordpro_import.h"
#include "songtool/chordpro/song_file.h"
#include "tests/songtool/chordpro/song_file_bytes.h"

namespace lyro {
namespace {

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

// Every song of a file, in songbook form, one after the other.
std::string book_form_of_file(const std::string& path) {
    std::string out;
    for (const ImportOutcome& outcome : import_song_file(read_bytes(path), path)) {
        if (const auto* refusal = std::get_if<ImportRefusal>(&outcome)) {
            ADD_FAILURE() << path << ": line " << refusal->line << ": " << refusal->reason;
            continue;
        }
        out += song_in_book_form(std::get<ImportedSong>(outcome));
    }
    return out;
}

class CollectionFile : public ::testing::TestWithParam<const char*> {};

TEST_P(CollectionFile, BecomesExactlyTheExpectedSongbookBytes) {
    const std::string base = std::string(LYRO_SONG_FILES) + "/" + GetParam();
    EXPECT_EQ(book_form_of_file(base + ".cho"), read_bytes(base + ".lyr"));
}

// As public collections write ChordPro: several songs to a file
// ({new_song}, {ns}) with {meta} directives, {capo}, {transpose} and
// annotations, a repeated {chorus}; a format showcase full of markup,
// notation blocks and a picture; Czech in UTF-8, partly decomposed.
INSTANTIATE_TEST_SUITE_P(AsCollectionsWriteThem, CollectionFile,
                         ::testing::Values("hymn_collection", "showcase", "czech"));

}  // namespace
}  // namespace lyro
