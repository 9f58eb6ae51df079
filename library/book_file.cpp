// The shared line reader of the songbook format.
#include "library/book_file.h"

#include <algorithm>
#include <cstring>

#include "library/byte_scan.h"

namespace lyro {

namespace {
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr char kCtrlZ = '\x1a';

// A line that ended at an LF (or at the end of the text): comment lines are
// dropped, the LF is removed. Returns false when the line was a comment.
bool finish_line(std::string& line) {
    if (!line.empty() && line.front() == ';') {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
}
}  // namespace

BookFile::BookFile(const std::string& path)
    : file_(std::fopen(path.c_str(), "rb")), buf_(new char[kReadChunk]) {}

bool BookFile::refill() {
    if (ended_ || !file_) return false;
    pos_ = 0;
    len_ = std::fread(buf_.get(), 1, kReadChunk, file_.get());
    find_text_end();
    return len_ > 0;
}

void BookFile::find_text_end() {
    const char* from = buf_.get() + pos_;
    const auto* z = static_cast<const char*>(std::memchr(from, kCtrlZ, len_ - pos_));
    text_end_ = z ? static_cast<std::size_t>(z - buf_.get()) : len_;
}

bool get_book_line(BookFile& f, std::string& line, Beeper& beeper) {
    line.clear();
    for (;;) {
        if (f.pos_ == f.len_ && !f.refill()) {
            if (line.empty()) return false;
            return finish_line(line);  // a comment as the last line: nothing follows
        }
        if (f.text_end_ < f.pos_) f.find_text_end();  // next_byte read past a Ctrl-Z
        if (f.pos_ == f.text_end_) {
            f.ended_ = true;  // a Ctrl-Z: the text ends here
            f.len_ = f.pos_;
            continue;
        }
        // Look for the line end no further than the characters that still
        // fit. A CR is dropped where it stands and does not count.
        const char* p = f.buf_.get() + f.pos_;
        const std::size_t n = std::min(f.text_end_ - f.pos_, kBookLineMax - line.size());
        const std::size_t at = find_either(p, n, '\n', '\r');
        if (at < n && p[at] == '\r') {
            line.append(p, at);
            // CR LF, the usual line end, with the LF inside the window: the
            // line ends here without taking another turn for the LF.
            const bool crlf = at + 1 < n && p[at + 1] == '\n';
            f.pos_ += at + (crlf ? 2 : 1);
            if (crlf && finish_line(line)) return true;
            continue;
        }
        const bool lf = at < n;
        const std::size_t span = lf ? at + 1 : n;
        line.append(p, span);
        f.pos_ += span;
        if (line.size() == kBookLineMax) {
            beeper.beep();
            return true;  // cut: not tested for a comment, an LF stays
        }
        if (lf && finish_line(line)) return true;
        // else: a comment was dropped, or the line goes on in the next window
    }
}

// The usual line: it lies whole in the buffer, ends in LF or CR LF, holds no
// other CR and is short enough that the reader cannot cut it. Such a line
// is viewed in place; false leaves everything else to the careful reader.
bool BookFile::take_whole_line(std::string_view& line) {
    if (text_end_ < pos_ || pos_ == text_end_) return false;
    const char* p = buf_.get() + pos_;
    // The longest uncut line (989 characters and its LF) with its CR LF.
    const std::size_t n = std::min(text_end_ - pos_, kBookLineMax + 1);
    const std::size_t at = find_either(p, n, '\n', '\r');
    std::size_t taken = 0;
    if (at < n && p[at] == '\n') {
        taken = at + 1;
    } else if (at + 1 < n && p[at + 1] == '\n') {
        taken = at + 2;  // CR LF
    } else {
        return false;
    }
    if (at + 2 > kBookLineMax) return false;  // its LF would be the 991st character
    pos_ += taken;
    line = std::string_view(p, at);
    return true;
}

bool next_book_line(BookFile& f, std::string_view& line, Beeper& beeper) {
    while (f.take_whole_line(line)) {
        if (line.empty() || line.front() != ';') return true;
    }
    if (!get_book_line(f, f.scratch_, beeper)) return false;
    line = f.scratch_;
    return true;
}

}  // namespace lyro
