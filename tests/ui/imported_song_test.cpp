// A song brought in from ChordPro, shown in the real viewer: its chords
// stand above the lyric characters they were written before, in the key of
// the file and two half steps up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "songtool/book_import.h"
#include "tests/ui/viewer_fixture.h"

namespace lyro::test {
namespace {

// Verse one as a song app exports it: inline chords, one in the middle of
// a word, a slash chord and a chord past the end of the line.
constexpr const char* kChordPro =
    "{title: Morning Has Come}\r\n"
    "{key: G}\r\n"
    "\r\n"
    "[G]Morning has [D/F#]come, the [Em]night is [C]over[D]\r\n"
    "Sing to the [G]Lord of the [Am7]ris[D]ing [G]sun\r\n";

struct ChordAt {
    std::string lyric_above;  // the lyric line the chord belongs to
    std::size_t column;
    char lyric_char;          // the character it was written before ('\0' past the end)
    std::string moved_up_2;   // the chord's root two half steps up
};

// Where the file put each chord, counted in the lyric line as typed (no
// chord marks), and what +2 makes of its root.
const std::vector<ChordAt> kChords = {
    {"Morning has come, the night is over", 0, 'M', "A"},
    {"Morning has come, the night is over", 12, 'c', "E"},
    {"Morning has come, the night is over", 22, 'n', "F#"},
    {"Morning has come, the night is over", 31, 'o', "D"},
    {"Morning has come, the night is over", 35, '\0', "E"},
    {"Sing to the Lord of the rising sun", 12, 'L', "A"},
    {"Sing to the Lord of the rising sun", 24, 'r', "B"},
    {"Sing to the Lord of the rising sun", 27, 'i', "E"},
    {"Sing to the Lord of the rising sun", 31, 's', "A"},
};

// The display line index of the lyric line that starts with `lyric` (the
// importer may stretch it with blanks, never change its start).
std::size_t lyric_row(const CurrentSong& song, const std::string& lyric) {
    for (std::size_t i = 1; i < song.line_count; ++i) {
        if (song.raw[i].rfind(lyric.substr(0, 10), 0) == 0) return i;
    }
    return 0;
}

// Where the lyric character at `typed_column` of the typed line stands in
// the shown line: the importer may stretch a lyric with blanks, but its
// characters keep their order. npos past the typed line's end.
std::size_t stretched_column(const std::string& typed, const std::string& shown,
                             std::size_t typed_column) {
    std::size_t t = 0;
    for (std::size_t s = 0; s < shown.size() && t < typed.size(); ++s) {
        if (shown[s] != typed[t]) continue;  // a blank the importer put in
        if (t == typed_column) return s;
        ++t;
    }
    return std::string::npos;
}

class ImportedSong : public ::testing::Test {
protected:
    // Imported as songtool imports it: into the test songbook, before its
    // end marker.
    void SetUp() override {
        const ImportPlan plan =
            plan_import(sample_songbook(), {"morning.cho"}, [](const std::string&, std::string& bytes) {
                bytes = kChordPro;
                return true;
            });
        ASSERT_EQ(plan.imported, 1u);
        write_file(run.state.files.songbook(), plan.new_book);
    }
    DeskRun run;
};

// Checks every chord of kChords in the display lines: on the chord line
// right above its lyric line, at the column of the lyric character it was
// written before (past the lyric's end for a chord written there), and,
// once `moved`, spelled with its root two half steps up.
void expect_chords_above_their_characters(const CurrentSong& song, bool moved) {
    for (const ChordAt& chord : kChords) {
        const std::size_t row = lyric_row(song, chord.lyric_above);
        ASSERT_GE(row, 2u) << chord.lyric_above;
        const std::string& lyric = song.display[row];
        const std::string& chords = song.display[row - 1];
        std::size_t col = std::string::npos;
        if (chord.lyric_char == '\0') {
            // Past the end: the first chord after the lyric's last character.
            const std::size_t end = lyric.find_last_not_of(' ') + 1;
            col = chords.find_first_not_of(' ', end);
        } else {
            col = stretched_column(chord.lyric_above, lyric, chord.column);
            ASSERT_NE(col, std::string::npos) << chord.lyric_above << " @" << chord.column;
            EXPECT_EQ(lyric[col], chord.lyric_char) << chord.lyric_above << " @" << chord.column;
        }
        ASSERT_LT(col, chords.size()) << "chord line \"" << chords << "\"";
        const std::string shown = chords.substr(col, chord.moved_up_2.size());
        if (moved) {
            EXPECT_EQ(shown, chord.moved_up_2) << "chord line \"" << chords << "\" at " << col;
        } else {
            EXPECT_TRUE(shown[0] >= 'A' && shown[0] <= 'G')
                << "chord line \"" << chords << "\" at " << col;
        }
    }
}

TEST_F(ImportedSong, ShowsItsChordsAboveTheirLyricCharactersInItsKeyAndTwoHalfStepsUp) {
    run.run([](Driver& d) {
        HWND library = d.library();
        ASSERT_NE(library, nullptr);
        HWND viewer = review_in_viewer(d, library, "Morning Has Come", "MORNING HAS COME");
        ASSERT_NE(viewer, nullptr);
        painted(viewer);
        const CurrentSong& song = d.state().song;
        expect_chords_above_their_characters(song, false);
        EXPECT_GT(dark_pixels(viewer, text_area(viewer)), 0);

        click(viewer, IDC_V_NEXT_KEY);
        click(viewer, IDC_V_NEXT_KEY);
        painted(viewer);
        EXPECT_EQ(d.text(viewer, IDC_V_STEPS), "2");
        expect_chords_above_their_characters(song, true);
        // The page that the tablets follow shows the same lines.
        EXPECT_TRUE(d.wait_until([&] {
            return remote_page(d).find(song.display[lyric_row(song, kChords[0].lyric_above) - 1]
                                           .substr(0, 20)) != std::string::npos;
        }));
        click(viewer, IDCANCEL);
    });
}

}  // namespace
}  // namespace lyro::test
