// Finding the songbook's songs with their line numbers; see book_songs.h.
#include "songtool/book_songs.h"

#include "library/songbook.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

std::string trimmed_title(std::string_view header) {
    std::string title(header_title(header));
    title.erase(title.find_last_not_of(' ') + 1);
    return title;
}

// Where the physical line that holds line `index` begins in the readable
// text: after the LF of the nearest line before it that ended one.
std::size_t physical_line_start(const Songbook& book, std::size_t index) {
    const std::string_view text = book.readable();
    std::size_t from = 0;
    for (std::size_t seen = 1; seen < book.lines()[index].number; ++seen)
        from = text.find('\n', from) + 1;
    return from;
}

// Whether the next line the reader delivers is the rest of line `index`'s
// physical line.
bool goes_on(const Songbook& book, std::size_t index) {
    const auto lines = book.lines();
    return lines[index].cut && !lines[index].line_end && index + 1 < lines.size() &&
           lines[index + 1].number == lines[index].number && lines[index + 1].visible();
}

}  // namespace

BookSongs find_book_songs(const Songbook& book) {
    BookSongs out;
    out.insert_at = book.readable().size();
    BookSong* song = nullptr;
    for (std::size_t i = 0; i < book.lines().size(); ++i) {
        const BookLine& line = book.lines()[i];
        const std::string_view text = line.physical_text();
        if (line.kind == LineKind::end_marker) {
            if (out.end_marker_line == 0) {
                out.end_marker_line = line.number;
                out.insert_at = physical_line_start(book, i);
            }
            song = nullptr;
        } else if (line.kind == LineKind::header) {
            out.songs.push_back({line.number, std::string(text), trimmed_title(text), {},
                                 out.end_marker_line != 0});
            song = &out.songs.back();
        } else if (song && line.visible()) {
            song->body.push_back({line.number, std::string(text), goes_on(book, i)});
        }
    }
    return out;
}

BookSongs find_book_songs(std::string_view book_bytes) {
    return find_book_songs(Songbook(std::string(book_bytes)));
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
