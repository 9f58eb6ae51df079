// Transposition of any line by any offset from -12 to +12: the displayed
// line keeps every word of the raw line, in order and apart, every chord
// transposed and every other word as written; it keeps every column of the
// raw line and grows at most to twice its length (a one-letter chord and
// its blank becoming two letters and a blank, the rest moving along), or to
// the chord line's blank fill; a line that is not a chord line is shown as
// stored; offsets a whole octave apart show the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "transpose/transpose_song.h"

namespace {

std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t p = 0;
    while (p < line.size()) {
        if (line[p] == ' ' || line[p] == '<') {
            ++p;
            continue;
        }
        std::size_t end = p;
        while (end < line.size() && line[end] != ' ' && line[end] != '<') ++end;
        words.push_back(line.substr(p, end - p));
        p = end;
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lyro;
    if (size == 0) return 0;
    const int offset = static_cast<int>(data[0] % 25) - 12;
    const std::string_view raw(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string display;
    transpose_line(raw, offset, display);
    if (raw.find('<') == std::string_view::npos) {
        fuzz::require(display == raw, "a line without '<' is shown as stored");
        return 0;
    }
    fuzz::require(display.size() >= raw.size(), "no column of the raw line is lost");
    fuzz::require(display.size() <= std::max(2 * raw.size() + 2, kChordLineFill),
                  "the line grows to twice its length, or to the fill, at most");
    const std::vector<std::string_view> before = words_of(raw);
    const std::vector<std::string_view> after = words_of(display);
    fuzz::require(before.size() == after.size(), "no word is lost or merged");
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        const auto chord = parse_chord(before[i]);
        const std::string expected =
            chord ? transposed_chord(*chord, offset, kFixedNames) : std::string(before[i]);
        fuzz::require(after[i] == expected, "chords are transposed, other words kept");
    }
    fuzz::require(display.find('<') == std::string::npos, "the chord marks are not shown");
    std::string octave;
    transpose_line(raw, offset + (offset < 0 ? 12 : -12), octave);
    fuzz::require(octave == display, "an octave apart shows the same");
    return 0;
}
