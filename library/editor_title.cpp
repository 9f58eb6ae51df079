// The stored title of a song; see editor_title.h.
#include "library/editor_title.h"

#include "library/book_pieces.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

// The header of the song that every lookup of `title` finds, copied: the
// pieces may point into the reader's own storage, which ends with it.
std::optional<std::string> found_header(std::string_view book_bytes, std::string_view title) {
    const std::string wanted = folded(title);
    BookPieces pieces(readable_text(book_bytes));
    BookPiece piece;
    while (pieces.next(piece)) {
        if (piece.hidden) continue;
        if (is_end_marker(piece.text)) break;
        if (is_song_header(piece.text) && folded(header_title(piece.text)) == wanted)
            return std::string(piece.text);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> stored_song_title(std::string_view book_bytes, std::string_view title) {
    const auto header = found_header(book_bytes, title);
    if (!header) return std::nullopt;
    std::string_view stored = header_title(*header);
    if (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
    return std::string(stored);
}

std::string stored_song_key(std::string_view book_bytes, std::string_view title) {
    const auto header = found_header(book_bytes, title);
    const std::string_view key = header ? header_key(*header) : std::string_view{};
    return key == "xx" ? std::string() : std::string(key);
}

}  // namespace lyro
