// Reading the songbook (and the songlist) line by line, with the rules that
// every reader of the file shares: LF ends a line, every CR is dropped,
// Ctrl-Z ends the text, ";" as the first byte hides a line, and a physical
// line is cut into pieces of at most 991 stored characters, with a beep for
// every cut.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "library/beeper.h"
#include "platform/c_file.h"

namespace lyro {

// The most characters one delivered line can hold (the LF that ends a line
// counts while it is stored).
inline constexpr std::size_t kBookLineMax = 991;

// A songbook-format file open for reading, in binary mode, with a read
// buffer of its own. Owns the FILE handle.
class BookFile {
public:
    // Opens `path`; is_open() tells whether that worked.
    explicit BookFile(const std::string& path);
    BookFile(BookFile&&) noexcept = default;
    BookFile& operator=(BookFile&&) noexcept = default;

    bool is_open() const { return file_ != nullptr; }

    // The next byte of the file, or -1 at its end (or on a read error).
    int next_byte() {
        if (pos_ == len_ && !refill()) return -1;
        return static_cast<unsigned char>(buf_[pos_++]);
    }

private:
    friend bool get_book_line(BookFile&, std::string&, Beeper&);
    friend bool next_book_line(BookFile&, std::string_view&, Beeper&);
    bool refill();
    bool take_whole_line(std::string_view& line);
    void find_text_end();

    CFile file_;
    std::unique_ptr<char[]> buf_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool ended_ = false;  // a Ctrl-Z was read: nothing after it counts
    // Where the buffered text ends for the line reader: the first Ctrl-Z at
    // or after pos_, or len_. Found once per buffer, not once per line.
    std::size_t text_end_ = 0;
    // A line that had to be put together (across buffers, or with CRs
    // inside it) for next_book_line to hand out.
    std::string scratch_;
};

// Delivers the next line (without its line end) into `line`. Returns false
// at the end of the file. See the file comment for the rules.
bool get_book_line(BookFile& file, std::string& line, Beeper& beeper);

// The same lines as get_book_line, handed out as a view that stays valid
// until the next call on `file`. Most lines are viewed where they stand in
// the read buffer, uncopied.
bool next_book_line(BookFile& file, std::string_view& line, Beeper& beeper);

}  // namespace lyro
