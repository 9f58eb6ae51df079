// The writer of a song body and its inverse; see song_body.h.
#include "library/song_body.h"

#include "library/title_ops.h"

namespace lyro {

namespace {

constexpr std::string_view kFirstLine = " ";

// One line of the text box as stored lines of the writer's form.
void write_box_line(std::string_view line, std::string& out) {
    for (char c : line) {
        if (c == '\r') continue;
        if (c == '\n') {
            out += ' ';
            out += kLineEnd;
            continue;
        }
        out += c;
    }
    out += ' ';
    out += kLineEnd;
}

}  // namespace

void write_song_lines(const EditorBoxes& boxes, std::string& out) {
    out += kFirstLine;
    out += kLineEnd;
    const std::size_t count = boxes.line_count();
    if (count == 0) write_box_line("", out);  // an empty box is one empty line
    for (std::size_t i = 0; i < count; ++i) write_box_line(boxes.line(i), out);
}

std::string editor_text_from_body(const std::vector<std::string>& body) {
    std::string text;
    const std::size_t first = !body.empty() && body.front() == kFirstLine ? 1 : 0;
    for (std::size_t i = first; i < body.size(); ++i) {
        std::string_view line = body[i];
        if (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        if (i > first) text += kLineEnd;
        text += line;
    }
    return text;
}

std::optional<std::vector<std::string>> find_song_body(const Songbook& book, std::string_view title) {
    const auto song = book.find(title);
    if (!song) return std::nullopt;
    std::vector<std::string> body;
    bool line_open = false;  // the last line was cut and may go on
    for (std::size_t i = song->header + 1; i < song->end; ++i) {
        const BookLine& line = book.lines()[i];
        if (!line.visible()) {
            line_open = false;
        } else if (line_open) {
            body.back() += line.physical_text();
        } else {
            body.emplace_back(line.physical_text());
        }
        line_open = line.cut && !line.line_end;
    }
    return body;
}

namespace {

// Whether `line` means more to the reader than `before` did: it holds a
// mark that `before` did not (a header, a label, the end marker), or it has
// become a comment by starting with ';'.
bool gains_meaning(std::string_view before, std::string_view line) {
    if (line.starts_with(';') && !before.starts_with(';')) return true;
    for (std::string_view mark : {kHeaderMark, kLabelMark, kEndMarker})
        if (holds(line, mark) && !holds(before, mark)) return true;
    return false;
}

// Cleans a body line of rich-text words, unless taking a word out would
// join the text around it into a mark ("::\par:::" into ":::::") or bring
// a ';' to its front: saved back, that line would start a song, a label or
// the end of the songbook that was never there, or vanish as a comment.
void clean_for_editor(std::string& line) {
    std::string cleaned = line;
    strip_rtf_words(cleaned);
    if (!gains_meaning(line, cleaned)) line = std::move(cleaned);
}

}  // namespace

std::optional<std::string> load_editor_text(SaveFiles& files, const std::string& songbook_path,
                                            std::string_view title) {
    const auto book = read_songbook(files, songbook_path);
    return book ? editor_text(*book, title) : std::nullopt;
}

std::optional<std::string> editor_text(const Songbook& book, std::string_view title) {
    auto body = find_song_body(book, title);
    if (!body) return std::nullopt;
    for (std::string& line : *body) clean_for_editor(line);
    return editor_text_from_body(*body);
}

}  // namespace lyro
