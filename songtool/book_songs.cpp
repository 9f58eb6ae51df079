// Finding the songbook's songs with their line numbers; see book_songs.h.
#include "songtool/book_songs.h"

#include "library/book_pieces.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

// The reader's lines of one physical line (its LF included, if any). The
// reader's count starts afresh at every line end, so one physical line
// read alone gives exactly the pieces it gives within the whole file.
void read_physical_line(std::string_view line, std::size_t number, std::vector<ReadLine>& out) {
    BookPieces pieces(line);
    BookPiece piece;
    while (pieces.next(piece)) {
        if (piece.hidden) continue;
        out.push_back({number, std::string(piece.text), piece.end == PieceEnd::cut});
    }
    if (!out.empty() && out.back().number == number) out.back().continued = false;
}

std::string trimmed_title(std::string_view header) {
    std::string title(header_title(header));
    title.erase(title.find_last_not_of(' ') + 1);
    return title;
}

}  // namespace

BookSongs find_book_songs(std::string_view book_bytes) {
    const std::string_view text = readable_text(book_bytes);
    BookSongs book;
    book.insert_at = text.size();
    BookSong* song = nullptr;
    std::vector<ReadLine> lines;
    std::size_t number = 0;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.clear();
        read_physical_line(text.substr(from, end - from), ++number, lines);
        for (ReadLine& line : lines) {
            if (is_end_marker(line.text)) {
                if (book.end_marker_line == 0) {
                    book.end_marker_line = number;
                    book.insert_at = from;
                }
                song = nullptr;
            } else if (is_song_header(line.text)) {
                book.songs.push_back({number, line.text, trimmed_title(line.text), {},
                                      book.end_marker_line != 0});
                song = &book.songs.back();
            } else if (song) {
                song->body.push_back(std::move(line));
            }
        }
        from = end;
    }
    return book;
}

std::vector<std::string> whole_lines(const std::vector<ReadLine>& body) {
    std::vector<std::string> lines;
    bool open = false;
    for (const ReadLine& line : body) {
        if (open) {
            lines.back() += line.text;
        } else {
            lines.push_back(line.text);
        }
        open = line.continued;
    }
    return lines;
}

}  // namespace lyro
