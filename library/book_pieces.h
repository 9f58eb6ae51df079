// The songbook held whole in memory, walked in the same lines that the line
// reader (book_file.h) delivers, but with the bytes' physical line ends
// kept in view: a line that the reader cuts at 991 characters comes as
// several pieces, and only the last of them ends the physical line. Code
// that rewrites the file copies the pieces as they stood, so no line break
// is ever added to a line, and still sees songs exactly as every reader
// sees them.
#pragma once

#include <string>
#include <string_view>

#include "library/title_ops.h"

namespace lyro {

enum class PieceEnd {
    line_end,  // an LF ended the physical line
    cut,       // the reader's 991-character cut: the line goes on
    text_end,  // the readable text ended without a line end
};

struct BookPiece {
    std::string_view text;  // the stored characters: CRs dropped, no LF
    PieceEnd end = PieceEnd::line_end;
    bool hidden = false;  // a comment line, which the reader never delivers

    bool visible() const { return !hidden; }
};

// Where one line holds both marks, the end marker counts first.
inline bool is_end_marker(std::string_view line) { return holds(line, kEndMarker); }
inline bool is_song_header(std::string_view line) {
    return holds(line, kHeaderMark) && !is_end_marker(line);
}

// The readable part of the file's bytes: everything before the first
// Ctrl-Z. The rest is never read as lines.
std::string_view readable_text(std::string_view bytes);

class BookPieces {
public:
    explicit BookPieces(std::string_view readable) : rest_(readable) {}

    // The next piece, or false at the end. The piece's text stays valid
    // until the next call.
    bool next(BookPiece& piece);

private:
    bool next_with_crs(BookPiece& piece);

    std::string_view rest_;
    std::string scratch_;  // a piece's text once its CRs are dropped
};

}  // namespace lyro
