// One pass over the songbook's bytes; see songbook.h.
#include "library/songbook.h"

#include <algorithm>

#include "library/byte_search.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

constexpr char kCtrlZ = '\x1a';

// Where one line holds several marks, the end marker counts first. Asked
// of every line, so it is offered for inlining, as add_line is.
inline LineKind kind_of(std::string_view text, bool cut, bool may_hold_mark) {
    if (!cut && !text.empty() && text.front() == ';') return LineKind::comment;
    if (!may_hold_mark) return LineKind::body;
    if (holds(text, kEndMarker)) return LineKind::end_marker;
    if (holds(text, kHeaderMark)) return LineKind::header;
    if (holds(text, kLabelMark)) return LineKind::label;
    return LineKind::body;
}

// What the search of one line found.
struct LineSpan {
    std::size_t end = 0;     // where its text ends: before the CR LF or LF
    std::size_t next = 0;    // where the next line starts
    bool line_end = false;   // an LF ended it
    bool text_end = false;   // a Ctrl-Z or the end of the bytes ended it
    bool marks = false;      // it holds ':' or '*', which every mark holds
    bool viewable = false;   // its text stands as it is in the bytes
};

// Searches the line at `pos` once for everything a reader stops at. A line
// can be viewed where it stands when no CR stands inside it and the cut
// does not reach it (its LF, counted, leaves it under 991 characters); the
// search looks no further than the cut, so that a line of megabytes costs
// no more than its pieces.
LineSpan search_line(std::string_view bytes, std::size_t pos) {
    LineSpan line;
    const std::size_t reach = std::min(bytes.size(), pos + kBookLineMax);
    for (std::size_t at = pos;; ++at) {
        at = find_first_of_bytes<'\n', '\r', ':', '*', kCtrlZ>(bytes, at, reach);
        const char c = at < reach ? bytes[at] : kCtrlZ;
        if (c == ':' || c == '*') {
            line.marks = true;
            continue;
        }
        if (c == '\r' && (at + 1 >= bytes.size() || bytes[at + 1] != '\n')) return line;
        if (at == reach && reach < bytes.size()) return line;  // the cut falls in it
        line.end = at;
        line.line_end = c != kCtrlZ;
        line.text_end = c == kCtrlZ;
        line.next = c == '\r' ? at + 2 : c == '\n' ? at + 1 : at;
        line.viewable = line.end - pos + 1 < kBookLineMax;
        return line;
    }
}

// Any line, byte by byte: CRs dropped, cut at 991 stored characters, ended
// by an LF, a Ctrl-Z or the end of the bytes. `text` takes the stored
// characters; returns the bytes used.
std::size_t take_careful(std::string_view rest, BookLine& line, std::string& text, bool& text_end) {
    std::size_t used = 0;
    for (; used < rest.size(); ++used) {
        const char c = rest[used];
        if (c == kCtrlZ) break;
        if (c == '\r') continue;
        if (c != '\n' || text.size() + 1 == kBookLineMax) text.push_back(c);
        if (text.size() == kBookLineMax) {
            line.cut = true;
            line.line_end = c == '\n';
            return used + 1;
        }
        if (c == '\n') {
            line.line_end = true;
            return used + 1;
        }
    }
    text_end = true;
    return used;
}

#if defined(__SSE2__)
// Where, in the 64 bytes at `p`, a line ends (its LF), a mark may stand
// (':' or '*', which every mark holds), or something only the careful
// reading takes stands: a CR that no LF follows, a Ctrl-Z. `next` is the
// byte after the block.
struct LineBits {
    std::uint64_t lf = 0;
    std::uint64_t marks = 0;
    std::uint64_t careful = 0;
};

LineBits line_bits(const char* p, char next) {
    LineBits b;
    b.lf = block_bits<'\n'>(p);
    b.marks = block_bits<':', '*'>(p);
    const std::uint64_t before_lf = (b.lf >> 1) | (std::uint64_t{next == '\n'} << 63);
    b.careful = (block_bits<'\r'>(p) & ~before_lf) | block_bits<kCtrlZ>(p);
    return b;
}
#endif

}  // namespace

Songbook::Songbook(std::string bytes) : bytes_(std::make_unique<std::string>(std::move(bytes))) {
    split();
    end_marker_ = first_end_marker();
}

// Through the first Ctrl-Z: a line is viewed where it stands, and only one
// that holds a lone CR or that the cut reaches is read byte by byte into
// text of its own. The usual lines are taken a block at a time where the
// processor has SSE2, the rest with one search each.
void Songbook::split() {
    const std::string_view bytes = *bytes_;
    // Songbook lines average some thirty bytes (chord lines fewer): room for
    // a line in every 24 bytes saves the vector's growing in most songbooks.
    // A huge file of long lines must not reserve room it will never use.
    constexpr std::size_t kMostReserved = std::size_t{1} << 20;
    lines_.reserve(std::min(bytes.size() / 24, kMostReserved) + 1);
    std::size_t number = 1;
    std::size_t pos = 0;
    bool text_end = false;
    while (!text_end) {
#if defined(__SSE2__)
        pos = take_usual_lines(pos, number);
#endif
        BookLine line;
        const LineSpan span = search_line(bytes, pos);
        bool may_hold_mark = span.marks;
        if (span.viewable) {
            line.text = bytes.substr(pos, span.end - pos);
            line.line_end = span.line_end;
            text_end = span.text_end;
            pos = span.next;
        } else {
            std::string own;
            const std::size_t used = take_careful(bytes.substr(pos), line, own, text_end);
            pos += used;
            may_hold_mark = true;
            line.text = owned_.emplace_back(std::move(own));
        }
        // Only CRs, or nothing, before the end of the text: no line.
        if (line.text.empty() && !line.line_end) break;
        add_line(line, may_hold_mark, number);
    }
    readable_ = pos;
}

inline void Songbook::add_line(BookLine line, bool may_hold_mark, std::size_t& number) {
    line.number = number;
    line.kind = kind_of(line.text, line.cut, may_hold_mark);
    if (line.cut) cut_lines_.push_back(lines_.size());
    if (line.kind != LineKind::body && line.kind != LineKind::comment)
        marked_.push_back(lines_.size());
    number += line.line_end ? 1 : 0;
    lines_.push_back(line);
}

#if defined(__SSE2__)
// Takes the usual lines from `pos` on, 64 bytes at a time: lines ended by an
// LF, or a CR LF, that hold no other CR and no Ctrl-Z and that the cut does
// not reach. Returns where it stopped: at a line for the careful reading,
// or where fewer than a block's bytes are left. It never looks further than
// a block past the cut, so that a line of megabytes costs no more than its
// pieces.
std::size_t Songbook::take_usual_lines(std::size_t pos, std::size_t& number) {
    const std::string_view bytes = *bytes_;
    std::size_t start = pos;  // of the line being looked at
    bool marks = false;       // that line holds ':' or '*' in a block before
    for (std::size_t base = pos & ~std::size_t{63}; bytes.size() - base > 64; base += 64) {
        const LineBits b = line_bits(bytes.data() + base, bytes[base + 64]);
        // The bits of the line being looked at, and of those after it.
        std::uint64_t from = start > base ? ~std::uint64_t{0} << (start - base) : ~std::uint64_t{0};
        for (std::uint64_t lf = b.lf & from; lf != 0; lf &= lf - 1) {
            const std::uint64_t lf_bit = lf & -lf;
            const std::uint64_t line = from & (lf_bit - 1);
            const std::size_t at = base + static_cast<std::size_t>(std::countr_zero(lf));
            if ((b.careful & line) != 0 || at - start + 1 >= kBookLineMax) return start;
            const std::size_t end = at > start && bytes[at - 1] == '\r' ? at - 1 : at;
            BookLine usual;
            usual.text = bytes.substr(start, end - start);
            usual.line_end = true;
            add_line(usual, marks || (b.marks & line) != 0, number);
            marks = false;
            start = at + 1;
            from = ~((lf_bit << 1) - 1);
        }
        if ((b.careful & from) != 0 || base + 64 - start >= kBookLineMax) return start;
        marks = marks || (b.marks & from) != 0;
    }
    return start;
}
#endif

std::size_t Songbook::first_end_marker() const {
    for (const std::size_t i : marked_)
        if (lines_[i].kind == LineKind::end_marker) return i;
    return lines_.size();
}

// One string of every folded title and a sorted table of where each
// stands: two allocations instead of one for each song, and a sort that is
// stable, so that of equal titles the first song is the one kept.
const Songbook::TitleIndex& Songbook::title_index() const {
    if (title_index_) return *title_index_;
    TitleIndex& index = title_index_.emplace();
    std::string title;
    for (const std::size_t i : marked_) {
        if (i >= end_marker_) break;
        if (lines_[i].kind != LineKind::header) continue;
        title.assign(header_title(lines_[i].text));
        fold_title(title);
        index.entries.push_back({index.titles.size(), title.size(), i});
        index.titles += title;
    }
    const auto text = [&index](const TitleEntry& e) {
        return std::string_view(index.titles).substr(e.offset, e.size);
    };
    std::stable_sort(index.entries.begin(), index.entries.end(),
                     [&](const TitleEntry& a, const TitleEntry& b) { return text(a) < text(b); });
    return index;
}

std::optional<SongSpan> Songbook::find(std::string_view title) const {
    const TitleIndex& index = title_index();
    const std::string wanted = folded(title);
    const auto text = [&index](const TitleEntry& e) {
        return std::string_view(index.titles).substr(e.offset, e.size);
    };
    const auto at = std::lower_bound(index.entries.begin(), index.entries.end(), wanted,
                                     [&](const TitleEntry& e, std::string_view w) { return text(e) < w; });
    if (at == index.entries.end() || text(*at) != wanted) return std::nullopt;
    return song_at(at->header);
}

SongSpan Songbook::song_at(std::size_t header) const {
    auto next = std::upper_bound(marked_.begin(), marked_.end(), header);
    while (next != marked_.end() && lines_[*next].kind == LineKind::label) ++next;
    return {header, next == marked_.end() ? lines_.size() : *next};
}

std::size_t Songbook::cuts_through(std::size_t last) const {
    return static_cast<std::size_t>(
        std::upper_bound(cut_lines_.begin(), cut_lines_.end(), last) - cut_lines_.begin());
}

std::size_t Songbook::lookup_cuts(const std::optional<SongSpan>& song) const {
    return cuts_through(song ? song->end : end_marker_);
}

std::optional<Songbook> read_songbook(SaveFiles& files, const std::string& path) {
    std::string bytes;
    if (!files.read_whole(path, bytes)) return std::nullopt;
    return Songbook(std::move(bytes));
}

std::optional<Songbook> read_songbook(const std::string& path) {
    SystemFiles files;
    return read_songbook(files, path);
}

}  // namespace lyro
