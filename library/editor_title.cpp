// The stored title of a song; see editor_title.h.
#include "library/editor_title.h"

#include "library/book_pieces.h"
#include "library/title_ops.h"

namespace lyro {

std::optional<std::string> stored_song_title(std::string_view book_bytes, std::string_view title) {
    const std::string wanted = folded(title);
    BookPieces pieces(readable_text(book_bytes));
    BookPiece piece;
    while (pieces.next(piece)) {
        if (piece.hidden) continue;
        if (is_end_marker(piece.text)) break;
        if (!is_song_header(piece.text)) continue;
        std::string_view stored = header_title(piece.text);
        if (folded(stored) != wanted) continue;
        if (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
        return std::string(stored);
    }
    return std::nullopt;
}

}  // namespace lyro
