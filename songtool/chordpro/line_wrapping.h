// Long lines broken into lines that the song viewer shows whole.
#pragma once

#include <cstddef>
#include <vector>

#include "songtool/chordpro/chord_placement.h"

namespace lyro {

// `line` in pieces no wider than `width` (the chord line with its '<'
// included): each piece keeps its chords above the same lyric characters,
// its '<' right after its last chord.
// Breaks fall between words where they can, never inside a chord where
// there is any other place; the blanks at a break are dropped, and a piece
// that would begin with ';' (a comment to the songbook) gets one blank in
// front. A line that fits comes back as it is. `width` is at least 3.
std::vector<PlacedLine> wrap_placed(const PlacedLine& line, std::size_t width);

}  // namespace lyro
