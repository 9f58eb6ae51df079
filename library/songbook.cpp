// One pass over the songbook's bytes; see songbook.h.
#include "library/songbook.h"

#include <algorithm>
#include <cstring>

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

// The bytes that decide how the usual lines are read.
struct LineScan {
    explicit LineScan(std::string_view all)
        : text(all), lf(all, '\n'), cr(all, '\r'), colon(all, ':'), star(all, '*') {}

    // The usual line at `pos`, viewed where it stands: it ends in LF or CR
    // LF within reach of the cut and holds no other CR; or no LF comes
    // before the cut and no CR either. Returns the bytes it used, 0 when it
    // is not such a line.
    std::size_t take_plain(std::size_t pos, BookLine& line) {
        const std::size_t next_lf = lf.from(pos);
        const std::size_t next_cr = cr.from(pos);
        if (next_lf != std::string_view::npos && next_lf - pos <= kBookLineMax) {
            const std::size_t end = next_lf > pos && text[next_lf - 1] == '\r' ? next_lf - 1 : next_lf;
            // An LF stored as the 991st character is cut: the careful path.
            if (end - pos + 1 >= kBookLineMax || next_cr < end) return 0;
            line.text = text.substr(pos, end - pos);
            line.line_end = true;
            return next_lf + 1 - pos;
        }
        const std::size_t span = std::min(text.size() - pos, kBookLineMax);
        if (next_cr < pos + span) return 0;
        line.text = text.substr(pos, span);
        line.cut = span == kBookLineMax;
        return span;
    }

    // Whether the bytes [pos, end) may hold a mark: every mark holds ':'
    // or '*', which most lines lack.
    bool may_hold_mark(std::size_t pos, std::size_t end) {
        return colon.from(pos) < end || star.from(pos) < end;
    }

    std::string_view text;
    NextByte lf, cr, colon, star;
};

// Any line, byte by byte. `text` takes the stored characters; returns the
// bytes used, 0 when only CRs were left.
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

Songbook::Songbook(std::string bytes) : bytes_(std::make_unique<std::string>(std::move(bytes))) {
    readable_ = std::min(bytes_->find(kCtrlZ), bytes_->size());
    split();
    index_songs();
}

void Songbook::split() {
    const std::string_view text = readable();
    lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    LineScan scan(text);
    std::size_t number = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        BookLine line;
        std::size_t used = scan.take_plain(pos, line);
        bool may_hold_mark = used > 0 && scan.may_hold_mark(pos, pos + used);
        if (used == 0) {
            std::string own;
            used = take_careful(text.substr(pos), line, own);
            if (used == 0) break;
            line.text = owned_.emplace_back(std::move(own));
            may_hold_mark = true;
        }
        pos += used;
        line.number = number;
        line.kind = kind_of(line.text, line.cut, may_hold_mark);
        if (line.cut) cut_lines_.push_back(lines_.size());
        if (line.line_end) ++number;
        lines_.push_back(line);
    }
}

void Songbook::index_songs() {
    end_marker_ = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::end_marker) {
            end_marker_ = i;
            return;
        }
        if (lines_[i].kind == LineKind::header)
            first_of_title_.try_emplace(folded(header_title(lines_[i].text)), i);
    }
}

std::optional<SongSpan> Songbook::find(std::string_view title) const {
    const auto it = first_of_title_.find(folded(title));
    if (it == first_of_title_.end()) return std::nullopt;
    return song_at(it->second);
}

SongSpan Songbook::song_at(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines_.size() && lines_[end].kind != LineKind::header &&
           lines_[end].kind != LineKind::end_marker)
        ++end;
    return {header, end};
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
