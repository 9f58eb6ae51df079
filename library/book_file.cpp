// The shared line reader of the songbook format.
#include "library/book_file.h"

#include <cstring>

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
    return len_ > 0;
}

bool get_book_line(BookFile& f, std::string& line, Beeper& beeper) {
    line.clear();
    for (;;) {
        if (f.pos_ == f.len_ && !f.refill()) {
            if (line.empty()) return false;
            if (finish_line(line)) return true;
            return false;  // a comment as the last line: nothing follows it
        }
        const char* p = f.buf_.get() + f.pos_;
        const std::size_t n = std::min(f.len_ - f.pos_, kBookLineMax - line.size());
        const auto* lf = static_cast<const char*>(std::memchr(p, '\n', n));
        const std::size_t span = lf ? static_cast<std::size_t>(lf - p) + 1 : n;

        if (!std::memchr(p, '\r', span) && !std::memchr(p, kCtrlZ, span)) {
            // The common case: plain characters up to the LF or the window.
            line.append(p, span);
            f.pos_ += span;
            if (line.size() == kBookLineMax) {
                beeper.beep();
                return true;  // cut: not tested for a comment, LF stays
            }
            if (lf && finish_line(line)) return true;
            continue;
        }
        for (std::size_t i = 0; i < span; ++i) {
            const char c = p[i];
            ++f.pos_;
            if (c == kCtrlZ) {
                f.ended_ = true;
                f.len_ = f.pos_;
                break;
            }
            if (c == '\r') continue;
            line.push_back(c);
            if (line.size() == kBookLineMax) {
                beeper.beep();
                return true;
            }
            if (c == '\n') {
                if (finish_line(line)) return true;
                break;  // a comment: start the next line afresh
            }
        }
    }
}

}  // namespace lyro
