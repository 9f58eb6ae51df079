// One song's body between the editor and the songbook file: the writer
// that turns the text box's lines into stored lines, and its inverse, which
// turns a stored body back into the text box's text. A song that the writer
// wrote, loaded and saved unchanged, comes back as exactly the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/editor_boxes.h"
#include "library/songbook.h"

namespace lyro {

// Appends a song body to `out`: a line of a single blank, then every line
// of the text box with one blank appended, each ended by CR LF. Lines of any
// length are written whole. An LF inside a box line ends a stored line too
// and CRs are left out, so the file gets only whole CR LF lines and reads
// back as the same lines.
void write_song_lines(const EditorBoxes& boxes, std::string& out);

// The text box's text (lines joined by CR LF, none after the last) for a
// stored body, undoing write_song_lines: the single-blank first line is left
// out and one trailing blank is taken off every line. A body written by
// hand loses nothing: a first line that is not a single blank stays, as
// does a line without a trailing blank (the next save appends the writer's
// blank to it, and adds the single-blank first line, once).
std::string editor_text_from_body(const std::vector<std::string>& body);

// The body of the first song before the end marker whose folded title is
// the folded `title` (the song that every title lookup finds), as whole
// physical lines: lines that the reader cuts at 991 characters are joined
// again, comment lines are left out. Empty when there is no such song.
std::optional<std::vector<std::string>> find_song_body(const Songbook& book, std::string_view title);

// What the song editor shows for the song `title`: its body from the
// songbook, cleaned of rich-text control words, as editor text of any
// length. Empty when the songbook (cannot be read or) holds no such song.
std::optional<std::string> editor_text(const Songbook& book, std::string_view title);
std::optional<std::string> load_editor_text(SaveFiles& files, const std::string& songbook_path,
                                            std::string_view title);

}  // namespace lyro
