// The two layouts of the remote page. The page is written in binary mode and
// every line break is stored as CR LF, so both builds write the same bytes.
#include "platform/whole_file.h"
#include "remote/page_file.h"
#include "remote/remote_page.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <utility>

namespace lyro {

namespace {

// The text with & < > escaped, so that the browser shows it as written.
// The runs between them go in whole: a list page is thousands of titles.
void append_escaped(std::string& out, std::string_view text) {
    const auto special = [](char c) { return c == '&' || c == '<' || c == '>'; };
    for (auto at = std::find_if(text.begin(), text.end(), special); at != text.end();
         at = std::find_if(text.begin(), text.end(), special)) {
        out.append(text.begin(), at);
        out += *at == '&' ? "&amp;" : *at == '<' ? "&lt;" : "&gt;";
        text.remove_prefix(static_cast<std::size_t>(at - text.begin()) + 1);
    }
    out += text;
}

// Appends a title or a song line, escaped, with an LF (which a line cut at
// the reader's limit keeps) written as CR LF like every other line break of
// the page.
void append_text(std::string& out, std::string_view text) {
    for (std::size_t lf; (lf = text.find('\n')) != std::string_view::npos;
         text.remove_prefix(lf + 1)) {
        append_escaped(out, text.substr(0, lf));
        out += kLineEnd;
    }
    append_escaped(out, text);
}

constexpr std::string_view kListHeader =
    "<HTML>\r\n<HEAD>\r\n<TITLE>Songbook Server</TITLE>"
    "<META http-equiv=\"refresh\" content=\"4\">\r\n"
    "</HEAD>"
    "<BODY BGCOLOR =\"FFFFFF\">\r\n<FONT COLOR=\"0000FF\">\r\n"
    "<FONT SIZE=6>\r\n<FONT FACE= \"Courier New\">\r\n"
    "<CENTER><B><U>LIST</U></B></CENTER>"
    "<FONT SIZE=5><p></p><pre>\r\n"
    "<B>Songs:</B> <BR>";

constexpr std::string_view kListClosing =
    "</SELECT><BR>\r\n"
    "</pre></FONT>\r\n"
    "</BODY>\r\n</HTML>\r\n";

}  // namespace

std::string html_escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_escaped(out, text);
    return out;
}

ListPageWriter::~ListPageWriter() { put_page_in_place(); }

ListPageWriter::ListPageWriter(ListPageWriter&& other) noexcept
    : path_(std::move(other.path_)),
      page_(std::exchange(other.page_, {})),
      next_number_(other.next_number_) {}

void ListPageWriter::put_page_in_place() {
    if (page_.empty()) return;
    // A page that cannot be written leaves the old one; the next scan
    // writes it again.
    (void)publish_file(path_, page_);
    page_.clear();
}

void ListPageWriter::begin_list_page() {
    put_page_in_place();  // a page begun before and never finished
    page_ = kListHeader;
    next_number_ = 1;
}

void ListPageWriter::add_list_page_entry(std::string_view title) {
    if (page_.empty()) return;
    char number[16];
    const auto made = std::to_chars(number, number + sizeof number, next_number_);
    page_.append(number, made.ptr);
    page_ += " - ";
    append_text(page_, title);
    page_ += kLineEnd;
    ++next_number_;
}

void ListPageWriter::finish_list_page() {
    if (page_.empty()) return;
    page_ += kListClosing;
    put_page_in_place();
}

void write_song_page(const std::string& page_path, std::string_view title,
                     const std::vector<std::string>& lines, std::size_t count) {
    std::string text = "<HTML>\r\n<HEAD>\r\n<TITLE>";
    append_text(text, title);
    text += "</TITLE><META http-equiv=\"refresh\" content=\"4\"></HEAD>"
            "<BODY BGCOLOR =\"FFFFFF\">\r\n<FONT COLOR=\"0000FF\">\r\n"
            "<FONT SIZE=5>\r\n<FONT FACE= \"Courier New\">\r\n"
            "<CENTER><B><U>";
    append_text(text, title);
    text += "</U></B></CENTER><FONT SIZE=5><p></p><pre>\r\n";
    const std::size_t shown = count < lines.size() ? count : lines.size();
    for (std::size_t i = 0; i < shown; ++i) {
        append_text(text, lines[i]);
        text += kLineEnd;
    }
    text += "</pre></FONT>\r\n</BODY>\r\n</HTML>\r\n";
    // A page that cannot be written leaves the old one in place.
    (void)publish_file(page_path, text);
}

}  // namespace lyro
