// The two layouts of the remote page. The page is written in binary mode and
// every line break is stored as CR LF, so both builds write the same bytes.
#include "platform/c_file.h"
#include "platform/whole_file.h"
#include "remote/page_file.h"
#include "remote/remote_page.h"

#include <charconv>
#include <string>

namespace lyro {

namespace {

// The text with & < > escaped, so that the browser shows it as written.
void append_escaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
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

void write_all(std::FILE* file, const std::string& bytes) {
    // Write errors are ignored: the next rewrite replaces the page anyway.
    (void)std::fwrite(bytes.data(), 1, bytes.size(), file);
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

// The page text is handed to the file in pieces of about this size.
constexpr std::size_t kPendingMax = 64 * 1024;

}  // namespace

std::string html_escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_escaped(out, text);
    return out;
}

ListPageWriter::~ListPageWriter() {
    // Released unfinished: the page holds what was written so far.
    release_page();
}

void ListPageWriter::release_page() {
    if (!file_) return;
    write_pending();
    put_in_place(file_, path_);
}

ListPageWriter& ListPageWriter::operator=(ListPageWriter&& other) noexcept {
    if (this != &other) {
        release_page();  // the page given up keeps what it got
        path_ = std::move(other.path_);
        file_ = std::move(other.file_);
        pending_ = std::move(other.pending_);
        next_number_ = other.next_number_;
    }
    return *this;
}

void ListPageWriter::write_pending() {
    write_all(file_.get(), pending_);
    pending_.clear();
}

void ListPageWriter::begin_list_page() {
    release_page();  // a page begun before and never finished
    pending_.clear();
    file_ = open_new_page(path_);
    next_number_ = 1;
    if (file_) pending_ += kListHeader;
}

void ListPageWriter::add_list_page_entry(std::string_view title) {
    if (!file_) return;
    char number[16];
    const auto made = std::to_chars(number, number + sizeof number, next_number_);
    pending_.append(number, made.ptr);
    pending_ += " - ";
    append_text(pending_, title);
    pending_ += kLineEnd;
    ++next_number_;
    if (pending_.size() >= kPendingMax) write_pending();
}

void ListPageWriter::finish_list_page() {
    if (!file_) return;
    pending_ += kListClosing;
    release_page();
}

void write_song_page(const std::string& page_path, std::string_view title,
                     const std::vector<std::string>& lines, std::size_t count) {
    CFile file = open_new_page(page_path);
    if (!file) return;

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
    write_all(file.get(), text);
    put_in_place(file, page_path);
}

}  // namespace lyro
