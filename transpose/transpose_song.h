// Rebuilding the current song's display lines from its raw lines for a key
// offset. A line that holds '<' is a chord line: every chord root on it is
// moved by the offset and spelled from a fixed table of twelve note names,
// in the column where the old chord stood. Every other line is shown as
// stored. The work is done afresh from the raw lines each time, so offsets
// never accumulate.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "library/current_song.h"

namespace lyro {

// A chord line that grows past its end continues in blanks up to this
// column (or to the end of the last rewritten chord, if that lies further).
inline constexpr std::size_t kChordLineFill = 80;

// Rebuilds display lines 0 to line_count - 1 from the raw lines. Offsets
// from -12 to +12 are the ones in use; any other offset is taken modulo 12.
// Display lines at and beyond the line count are left as they are.
void transpose_song(CurrentSong& song, int key_offset);

// The displayed form of one raw line, written into `display` (whose storage
// is reused, so a repaint allocates nothing once the lines are warm).
void transpose_line(std::string_view raw, int key_offset, std::string& display);

// A key name such as "G", "f#m" or "Bbmaj" moved by the offset, its root
// spelled as chord roots are; nullopt when `key` names no key (a root and
// at most a minor or major mark: "m", "min", "maj", "M").
std::optional<std::string> transpose_key(std::string_view key, int key_offset);

}  // namespace lyro
