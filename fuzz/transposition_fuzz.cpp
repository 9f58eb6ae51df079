// Transposition of any line by any offset from -12 to +12: the displayed
// line keeps every column of the raw line and grows only by what a
// rewritten chord may add (a root that gains a letter and its blank), or
// up to the chord line's blank fill; a line that is not a chord line is
// shown as stored; offsets a whole octave apart show the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "transpose/transpose_song.h"

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
    fuzz::require(display.size() <= std::max(raw.size() + 2, kChordLineFill),
                  "the line grows by a root's letter and its blank, or to the fill, at most");
    fuzz::require(display.find('<') == std::string::npos, "the chord marks are not shown");
    std::string octave;
    transpose_line(raw, offset + (offset < 0 ? 12 : -12), octave);
    fuzz::require(octave == display, "an octave apart shows the same");
    return 0;
}
