// Walking the songbook's bytes in the reader's lines; see book_pieces.h.
#include "library/book_pieces.h"

#include <cstring>

#include "library/book_file.h"

namespace lyro {

namespace {

constexpr char kCtrlZ = '\x1a';

// The reader tests a line for a comment only when it ended before the cut
// (an LF stored as the 991st character still counts as a cut).
bool is_comment(const BookPiece& piece) {
    const std::size_t stored = piece.text.size() + (piece.end == PieceEnd::line_end ? 1 : 0);
    return piece.end != PieceEnd::cut && stored < kBookLineMax && !piece.text.empty() &&
           piece.text.front() == ';';
}

}  // namespace

std::string_view readable_text(std::string_view bytes) {
    return bytes.substr(0, bytes.find(kCtrlZ));
}

bool BookPieces::next(BookPiece& piece) {
    if (rest_.empty()) return false;
    const char* data = rest_.data();
    // One byte more than a line can store: a CR before the LF is not stored.
    const std::size_t window = std::min(rest_.size(), kBookLineMax + 1);
    if (const auto* lf = static_cast<const char*>(std::memchr(data, '\n', window))) {
        // The common cases: a line that ends in LF or CR LF, with no other CR.
        const auto at = static_cast<std::size_t>(lf - data);
        const std::size_t text_end = at > 0 && data[at - 1] == '\r' ? at - 1 : at;
        if (text_end < kBookLineMax && !std::memchr(data, '\r', text_end)) {
            piece.text = rest_.substr(0, text_end);
            piece.end = PieceEnd::line_end;
            piece.hidden = is_comment(piece);
            rest_.remove_prefix(at + 1);
            return true;
        }
    } else if (const std::size_t span = std::min(rest_.size(), kBookLineMax);
               !std::memchr(data, '\r', span)) {
        // No line end near: the reader's cut, or the end of the text.
        piece.text = rest_.substr(0, span);
        piece.end = span == kBookLineMax ? PieceEnd::cut : PieceEnd::text_end;
        piece.hidden = is_comment(piece);
        rest_.remove_prefix(span);
        return true;
    }
    return next_with_crs(piece);
}

bool BookPieces::next_with_crs(BookPiece& piece) {
    scratch_.clear();
    piece.end = PieceEnd::text_end;
    std::size_t used = 0;
    while (used < rest_.size()) {
        const char c = rest_[used++];
        if (c == '\r') continue;
        if (c == '\n') {
            piece.end = PieceEnd::line_end;
            break;
        }
        scratch_.push_back(c);
        if (scratch_.size() == kBookLineMax) {
            piece.end = PieceEnd::cut;
            break;
        }
    }
    rest_.remove_prefix(used);
    // Nothing but CRs up to the end: the reader delivers no line for them.
    if (piece.end == PieceEnd::text_end && scratch_.empty()) return false;
    piece.text = scratch_;
    piece.hidden = is_comment(piece);
    return true;
}

}  // namespace lyro
