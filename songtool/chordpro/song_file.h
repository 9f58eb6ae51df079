// Any song file given to the import: ChordPro, a chord sheet, or something
// that cannot be imported. A ChordPro name (.cho, .chopro, .chordpro, .pro)
// says ChordPro; any other file is told by what it holds, since chord
// sheets come as .txt, .crd and more, and so does ChordPro.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "songtool/chordpro/imported_song.h"

namespace lyro {

// Every song of file `path`, in file order, each imported or refused; a
// file that holds no song at all gives one refusal. A song that names no
// title gets the file's title.
std::vector<ImportOutcome> import_song_file(std::string_view file_bytes, std::string_view path);

// The file name without its folders and its extension.
std::string file_title(std::string_view path);

// Whether decoded text reads as ChordPro: a directive on a line of its own
// or a chord in brackets.
bool reads_as_chordpro(std::string_view text);

}  // namespace lyro
