// Both ways round: a song in the songbook's canonical form, exported and
// imported again, gives back the same lines; a ChordPro file imported and
// exported again keeps every chord before the same lyric character.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>
#include <vector>

#include "songtool/chordpro/chordpro_export.h"
#include "songtool/chordpro/chordpro_import.h"
#include "songtool/chordpro/text_decoding.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

const char* const kChords[] = {"G", "D/F#", "Em7", "Cmaj7", "Bb", "F#m", "Asus4", "N.C.", "riff"};
const char* const kWords[] = {"Amazing", "grace", "how", "sweet", "the", "sound", "Caf\xE9",
                              "{x}", "#1", "that", "saved"};

std::string pick(std::mt19937& gen, const char* const* from, std::size_t n) {
    return from[gen() % n];
}

// "[chord]", built piece by piece: "literal" + std::string sets off a
// false overlap warning in some compilers.
std::string bracketed(std::mt19937& gen) {
    std::string chord = "[";
    chord += pick(gen, kChords, std::size(kChords));
    chord += ']';
    return chord;
}

std::string lyric(std::mt19937& gen) {
    std::string line(gen() % 3, ' ');
    const int words = 1 + static_cast<int>(gen() % 7);
    for (int w = 0; w < words; ++w) {
        if (w > 0) line += ' ';
        line += pick(gen, kWords, std::size(kWords));
    }
    return line;
}

// A chord line of the canonical form: chords one blank apart or more, '<'
// right after the last chord (in place of the blank before the words that
// are no chords, N.C. or riff, when they come last).
std::string chord_line(std::mt19937& gen) {
    std::string line(gen() % 4, ' ');
    std::size_t after_last_chord = std::string::npos;
    const int chords = 1 + static_cast<int>(gen() % 5);
    for (int c = 0; c < chords; ++c) {
        if (c > 0) line += std::string(1 + gen() % 6, ' ');
        const std::string word = pick(gen, kChords, std::size(kChords));
        line += word;
        if (word != "N.C." && word != "riff") after_last_chord = line.size();
    }
    if (after_last_chord == std::string::npos || after_last_chord == line.size()) return line + "<";
    line[after_last_chord] = '<';
    return line;
}

// The body as the song editor would store it.
Lines stored(const Lines& editor_lines) {
    Lines body{" "};
    for (const std::string& line : editor_lines) body.push_back(line + " ");
    return body;
}

ImportedSong reimported(const std::string& chordpro) {
    const ImportOutcome outcome = import_chordpro(chordpro, "x");
    if (const auto* refusal = std::get_if<ImportRefusal>(&outcome)) {
        ADD_FAILURE() << "line " << refusal->line << ": " << refusal->reason << "\n" << chordpro;
        return {};
    }
    return std::get<ImportedSong>(outcome);
}

TEST(RoundTrip, ACanonicalSongExportedAndImportedGivesBackItsLines) {
    std::mt19937 gen(7);
    for (int round = 0; round < 300; ++round) {
        Lines lines;
        const int count = 1 + static_cast<int>(gen() % 12);
        for (int i = 0; i < count; ++i) {
            switch (gen() % 6) {
                case 0: lines.push_back(chord_line(gen)); break;  // alone, or above a lyric
                case 1: lines.push_back(""); break;
                case 2: lines.push_back("e|--[3]--|"); break;  // a tab, brackets and all
                default: lines.push_back(lyric(gen));
            }
        }
        if (lines.front().empty()) lines.front() = "first";
        const std::string chordpro = export_chordpro("Song \xE9", "G", stored(lines));
        const ImportedSong song = reimported(chordpro);
        ASSERT_EQ(song.lines, lines) << chordpro;
        EXPECT_EQ(song.title, "Song \xE9");
        EXPECT_EQ(song.key, "G");
    }
}

TEST(RoundTrip, TextThatReadsAsAnEntityComesBackAsItWas) {
    // Import reads &amp;, &nbsp; and their kin as markup's entities: export
    // keeps the songbook's own text from being read so.
    const Lines lines{"G<", "Praise & worship &nbsp; &amp; &lt;3", "&nbsp;"};
    const ImportedSong song = reimported(export_chordpro("Tom &amp; Jerry", "", stored(lines)));
    EXPECT_EQ(song.lines, lines);
    EXPECT_EQ(song.title, "Tom &amp; Jerry");
}

// Each chord of a ChordPro line with the lyric character written after it
// ('\0' at the end), and the lyric's characters without blanks.
struct Marks {
    std::vector<std::pair<std::string, char>> chords;
    std::string letters;
    bool operator==(const Marks&) const = default;
};

Marks marks_of(const std::string& line) {
    Marks m;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '[') {
            const std::size_t close = line.find(']', i);
            const char next = close + 1 < line.size() ? line[close + 1] : '\0';
            // An annotation ("[*N.C.]") is the same mark as the word itself:
            // export writes words that are no chords so.
            std::string mark = line.substr(i + 1, close - i - 1);
            if (!mark.empty() && mark.front() == '*') mark.erase(0, 1);
            if (!mark.empty()) m.chords.emplace_back(mark, next);
            i = close;
        } else if (line[i] != ' ') {
            m.letters += line[i];
        }
    }
    return m;
}

std::vector<Marks> marks_of_body(const std::string& chordpro) {
    std::vector<Marks> all;
    std::size_t from = 0;
    for (std::size_t end; (end = chordpro.find('\n', from)) != std::string::npos; from = end + 1) {
        std::string line = chordpro.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Directives and comments carry no chords, and the file's own
        // lines that look like them are read as them.
        const std::size_t first = line.find_first_not_of(' ');
        const std::size_t last = line.find_last_not_of(' ');
        if (first != std::string::npos &&
            (line[first] == '#' || (line[first] == '{' && line[last] == '}'))) {
            continue;
        }
        all.push_back(marks_of(line));
    }
    return all;
}

TEST(RoundTrip, AChordProFileImportedAndExportedKeepsEachChordBeforeItsCharacter) {
    std::mt19937 gen(11);
    for (int round = 0; round < 300; ++round) {
        std::string file = "{title: T}\r\nla\r\n";
        const int count = 1 + static_cast<int>(gen() % 10);
        for (int i = 0; i < count; ++i) {
            std::string line = lyric(gen);
            // Chords before random characters, right to left, never two
            // in a row; sometimes one past the end.
            if (gen() % 3 == 0) line += bracketed(gen);
            for (std::size_t at = line.size(); at-- > 0;) {
                if (line[at] == ']' || line[at] == '[') break;
                if (gen() % 5 == 0) line.insert(at, bracketed(gen));
            }
            file += line + (gen() % 2 ? "\r\n" : "\n");
        }
        const ImportedSong song = reimported(file);
        std::vector<std::string> body{" "};
        for (const std::string& line : song.lines) body.push_back(line + " ");
        const std::string again = export_chordpro(song.title, song.key, body);
        // Inline chords are written as UTF-8: compare in the same encoding.
        const ImportedSong twice = reimported(again);
        EXPECT_EQ(twice.lines, song.lines);
        std::vector<Marks> before = marks_of_body(file);
        std::vector<Marks> after = marks_of_body(decode_to_cp1252(again).bytes);
        // Lines of chords alone stand on their own in both.
        ASSERT_EQ(after.size(), before.size()) << file << "\n---\n" << again;
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].chords, before[i].chords) << file << "\n---\n" << again;
        }
    }
}

}  // namespace
}  // namespace lyro
