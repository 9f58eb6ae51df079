// The songbook file read once and held whole: its lines as every reader
// sees them and an index of its songs by folded title. Every rule of the
// format lives here: LF ends a line and every CR is dropped, a Ctrl-Z ends
// the text, ";" as the first byte hides a line, a line is cut after 991
// stored characters, and a line's kind (end marker first, then header,
// then label) decides where songs begin and end.
//
// The catalog, song loading, the editor, the save, the printout and songtool
// ask this model; none of them reads the file's bytes. It returns values
// only: what the user sees or hears of them (labels, beeps) is the caller's.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/save_files.h"

namespace lyro {

// The most characters one delivered line can hold (an LF counts while it
// is stored).
inline constexpr std::size_t kBookLineMax = 991;

enum class LineKind : unsigned char {
    comment,     // ";" first and not cut: no reader ever sees it
    end_marker,  // holds "#*#*#": nothing after it is listed or found
    header,      // holds ":::::": starts a song, ends the one before
    label,       // holds "*****": a catalog entry, and a body line too
    body,        // anything else: a song's line, or free text before the first song
};

struct BookLine {
    // As the reader delivers it: CRs dropped, without its LF, except an LF
    // that the cut took as the 991st character.
    std::string_view text;
    std::size_t number = 0;  // the physical line of the file, from 1
    LineKind kind = LineKind::body;
    bool cut = false;       // the reader cut the physical line here (one beep)
    bool line_end = false;  // an LF ended the physical line with this piece

    bool visible() const { return kind != LineKind::comment; }
    // The piece as it stands in the file, without any line end.
    std::string_view physical_text() const {
        return cut && line_end ? text.substr(0, text.size() - 1) : text;
    }
    // The readable text ended on this piece, without a line end.
    bool ends_text() const { return !cut && !line_end; }
};

// A song: its header's line index and the index of the line that ends its
// body (the next header or end marker, or lines().size()).
struct SongSpan {
    std::size_t header = 0;
    std::size_t end = 0;
};

class Songbook {
public:
    // The lines of `bytes`, any file of the songbook's format (the songlist
    // file is one too).
    explicit Songbook(std::string bytes);

    std::span<const BookLine> lines() const { return lines_; }
    // The file's bytes; the readable text (before the first Ctrl-Z) and what
    // follows it.
    std::string_view bytes() const { return *bytes_; }
    std::string_view readable() const { return std::string_view(*bytes_).substr(0, readable_); }
    std::string_view after_text() const { return std::string_view(*bytes_).substr(readable_); }

    // The headers, labels and end markers, in order: the lines that a reader
    // looking for songs or entries needs to see.
    std::span<const std::size_t> marked_lines() const { return marked_; }

    // The first end marker's line, or lines().size() when there is none.
    std::size_t end_marker() const { return end_marker_; }
    // The first song of the folded `title` before the end marker: the song
    // that every lookup finds.
    std::optional<SongSpan> find(std::string_view title) const;
    // The song whose header is line `header`.
    SongSpan song_at(std::size_t header) const;

    // How many cuts a reader meets on its way from the top through line
    // `last` (every cut when `last` is past the end).
    std::size_t cuts_through(std::size_t last) const;
    // The cuts of a lookup from the top: through the line that ends the
    // found song, or through the end marker when nothing is found.
    std::size_t lookup_cuts(const std::optional<SongSpan>& song) const;

private:
    void split();
    std::size_t take_usual_lines(std::size_t pos, std::size_t& number);  // with SSE2 only
    void add_line(BookLine line, bool may_hold_mark, std::size_t& number);
    std::size_t first_end_marker() const;

    // The folded titles of the songs before the end marker, sorted, each
    // with its song's header; of equal titles only the first song is found.
    // Made at the first lookup: the catalog never looks a title up.
    struct TitleEntry {
        std::size_t offset = 0;  // in `titles`
        std::size_t size = 0;
        std::size_t header = 0;
    };
    struct TitleIndex {
        std::string titles;
        std::vector<TitleEntry> entries;
    };
    const TitleIndex& title_index() const;

    std::unique_ptr<std::string> bytes_;  // on the heap: the lines view it
    std::size_t readable_ = 0;
    std::deque<std::string> owned_;  // the text of lines read byte by byte
    std::vector<BookLine> lines_;
    std::vector<std::size_t> cut_lines_;
    std::vector<std::size_t> marked_;
    std::size_t end_marker_ = 0;
    mutable std::optional<TitleIndex> title_index_;
};

// The songbook at `path`; nothing when it cannot be read. The one place
// that opens songbook.lyr for reading.
std::optional<Songbook> read_songbook(SaveFiles& files, const std::string& path);
std::optional<Songbook> read_songbook(const std::string& path);

}  // namespace lyro
