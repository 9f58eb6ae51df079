// A song of the songbook written out as a ChordPro file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lyro {

// The song as ChordPro text, UTF-8 with CR LF line ends: {title: ...},
// {key: ...} when `key` is not empty, then the body. `body` holds the
// song's stored lines as the line reader delivers them; the writer's
// single-blank first line and the blank it appends to every line are not
// carried over. Each chord line and the lyric line right under it become
// one line with the chords inline; a chord line with no lyric line under
// it becomes a line of chords.
std::string export_chordpro(std::string_view title, std::string_view key,
                            const std::vector<std::string>& body);

}  // namespace lyro
