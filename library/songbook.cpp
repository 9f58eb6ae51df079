// One pass over the songbook's bytes; see songbook.h.
#include "library/songbook.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "library/title_ops.h"

namespace lyro {

namespace {

constexpr char kCtrlZ = '\x1a';

// Where one line holds several marks, the end marker counts first.
LineKind kind_of(std::string_view text, bool cut, bool may_hold_mark) {
    if (!cut && !text.empty() && text.front() == ';') return LineKind::comment;
    if (!may_hold_mark) return LineKind::body;
    if (holds(text, kEndMarker)) return LineKind::end_marker;
    if (holds(text, kHeaderMark)) return LineKind::header;
    if (holds(text, kLabelMark)) return LineKind::label;
    return LineKind::body;
}

// Where byte `c` next stands in `text` at or after a point, found lazily:
// the points only grow, so each search goes on from the last hit, and the
// text is searched about once for each byte, however many lines it has.
class NextByte {
public:
    NextByte(std::string_view text, char c) : text_(text), c_(c) {}
    std::size_t from(std::size_t pos) {
        if (!found_ || at_ < pos) {
            at_ = text_.find(c_, pos);
            found_ = true;
        }
        return at_;
    }

private:
    std::string_view text_;
    char c_;
    std::size_t at_ = 0;
    bool found_ = false;
};

// How many CRs and LFs `text` holds, counted in one pass. std::count keeps
// a wide counter and takes as long as reading the file; byte-wide counters
// over blocks of a fixed size let the compiler compare many bytes at once.
struct LineEndCounts {
    std::size_t crs = 0;
    std::size_t lfs = 0;
};

LineEndCounts count_line_ends(std::string_view text) {
    constexpr std::size_t kBlock = 240;  // fits a byte-wide counter
    LineEndCounts counts;
    std::size_t at = 0;
    for (; text.size() - at >= kBlock; at += kBlock) {
        unsigned char crs = 0;
        unsigned char lfs = 0;
        for (std::size_t i = 0; i < kBlock; ++i) {
            crs = static_cast<unsigned char>(crs + (text[at + i] == '\r'));
            lfs = static_cast<unsigned char>(lfs + (text[at + i] == '\n'));
        }
        counts.crs += crs;
        counts.lfs += lfs;
    }
    for (; at < text.size(); ++at) {
        counts.crs += text[at] == '\r';
        counts.lfs += text[at] == '\n';
    }
    return counts;
}

// Any line, byte by byte, every CR dropped. `text` takes the stored
// characters; returns the bytes used, 0 when only CRs were left.
std::size_t take_careful(std::string_view rest, BookLine& line, std::string& text) {
    std::size_t used = 0;
    while (used < rest.size()) {
        const char c = rest[used++];
        if (c == '\r') continue;
        if (c != '\n' || text.size() + 1 == kBookLineMax) text.push_back(c);
        if (text.size() == kBookLineMax) {
            line.cut = true;
            line.line_end = c == '\n';
            return used;
        }
        if (c == '\n') {
            line.line_end = true;
            return used;
        }
    }
    return text.empty() ? 0 : used;
}

}  // namespace

// Splits `text` on the assumption that every CR in it stands just before an
// LF, so that a line is a view of the bytes themselves; only a line that
// the cut reaches is read byte by byte. Returns how many CRs it met, for the
// caller to see whether the assumption held.
std::size_t Songbook::split(std::string_view text, std::size_t line_ends) {
    lines_.reserve(line_ends + 1);
    NextByte colon(text, ':'), star(text, '*');
    std::size_t crs = 0;
    std::size_t number = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        BookLine line;
        const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
        const std::size_t next = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data())
                                    : text.size();
        const std::size_t end = next > pos && text[next - 1] == '\r' ? next - 1 : next;
        // An LF stored as the 991st character is cut with it: byte by byte.
        const bool plain = end - pos + 1 < kBookLineMax;
        if (plain) {
            // Only CRs left: they are dropped and make no line.
            if (lf == nullptr && end == pos) {
                crs += next - end;
                break;
            }
            line.text = std::string_view(text.data() + pos, end - pos);
            line.line_end = lf != nullptr;
            crs += next - end;
            pos = next + 1;
        } else {
            std::string own;
            const std::size_t used = take_careful(text.substr(pos), line, own);
            if (used == 0) break;
            crs += count_line_ends(text.substr(pos, used)).crs;
            line.text = owned_.emplace_back(std::move(own));
            pos += used;
        }
        const bool may_hold_mark = !plain || colon.from(start) < pos || star.from(start) < pos;
        line.number = number;
        line.kind = kind_of(line.text, line.cut, may_hold_mark);
        if (line.cut) cut_lines_.push_back(lines_.size());
        if (line.kind != LineKind::body && line.kind != LineKind::comment)
            marked_.push_back(lines_.size());
        number += line.line_end;
        lines_.push_back(line);
    }
    return crs;
}

Songbook::Songbook(std::string bytes) : bytes_(std::make_unique<std::string>(std::move(bytes))) {
    readable_ = std::min(bytes_->find(kCtrlZ), bytes_->size());
    const std::string_view text = readable();
    const LineEndCounts counts = count_line_ends(text);
    if (split(text, counts.lfs) != counts.crs) {
        // A CR stands inside a line: the lines are read from the text
        // without any CR, which is what a reader stores of them anyway.
        lines_.clear();
        owned_.clear();
        cut_lines_.clear();
        marked_.clear();
        without_crs_ = std::make_unique<std::string>();
        without_crs_->reserve(text.size() - counts.crs);
        std::remove_copy(text.begin(), text.end(), std::back_inserter(*without_crs_), '\r');
        split(*without_crs_, counts.lfs);
    }
    end_marker_ = first_end_marker();
}

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
