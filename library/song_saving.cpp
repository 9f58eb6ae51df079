// The rewrite of the songbook for one save; see song_saving.h.
#include "library/song_saving.h"

#include "library/current_song.h"
#include "library/file_rotation.h"
#include "library/song_body.h"
#include "library/songbook.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

constexpr std::string_view kNoName = "NONAME";

// The title as the title box gives it: one line, at most kTitleMax
// characters, "NONAME" when nothing but blanks is left.
std::string box_title(const EditorBoxes& boxes) {
    std::string title = boxes.title_text();
    title.resize(std::min(title.find_first_of("\r\n"), title.size()));
    if (title.size() > kTitleMax) title.resize(kTitleMax);
    if (title.find_first_not_of(' ') == std::string::npos) title = kNoName;
    return title;
}

// The key as the header takes it: the key box's first word, of the
// characters that key names are made of (so that no marker of the
// songbook's, such as "*****" or "#*#*#", can come in with it), at most
// kKeyMax of them; "xx" when that leaves nothing.
constexpr std::size_t kKeyMax = 12;

bool key_character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '#' ||
           c == '/' || c == '+' || c == '-' || c == '(' || c == ')';
}

std::string header_key_text(std::string_view box) {
    const std::size_t start = std::min(box.find_first_not_of(" \t"), box.size());
    std::string key;
    for (std::size_t i = start; i < box.size() && key_character(box[i]) && key.size() < kKeyMax; ++i)
        key += box[i];
    return key.empty() ? "xx" : key;
}

std::string header_line(std::string_view title, std::string_view key = {}) {
    return "::::: " + std::string(title) + " ::::: KEY=" + header_key_text(key);
}

// The title by which the songbook will know a song whose header is `header`.
std::string stored_title(std::string_view header) {
    std::string title(header_title(header));
    title.resize(title.find_last_not_of(' ') + 1);
    return title;
}

// One pass over the old songbook that builds the new one.
class Rewrite {
public:
    Rewrite(const Songbook& old_book, const EditorBoxes& boxes, std::string title, bool new_song,
            std::string_view edited)
        : old_book_(old_book),
          boxes_(boxes),
          title_(std::move(title)),
          folded_new_(folded(stored_title(header_line(title_)))),
          folded_edited_(folded(edited)),
          new_song_(new_song) {}

    SaveResult run();
    const std::string& book() const { return out_; }
    const std::string& saved_title() const { return saved_title_; }

private:
    void take(const BookLine& line);
    void skip(const BookLine& line);
    void keep(const BookLine& line);
    void write_song(std::string_view title);
    bool title_taken() const;

    const Songbook& old_book_;
    std::string out_;
    const EditorBoxes& boxes_;
    const std::string title_;
    const std::string folded_new_;
    const std::string folded_edited_;
    const bool new_song_;

    std::string saved_title_;
    std::string comments_;  // comment lines met in the old body
    bool before_end_marker_ = true;
    bool skipping_ = false;  // inside the edited song's old body
    bool replaced_ = false;
    bool other_has_title_ = false;
    bool open_end_ = false;  // the last line copied ended the text without a line end
};

SaveResult Rewrite::run() {
    out_.reserve(old_book_.readable().size() + old_book_.after_text().size() + 4096);
    for (const BookLine& line : old_book_.lines()) take(line);

    if (skipping_ || new_song_) {
        // A song that ran to the end of the text, and every new song, go
        // to the end, after a last line that had no line end of its own.
        if (open_end_) out_ += kLineEnd;
        std::string title = title_;
        upper_case(title);
        write_song(title);
        skipping_ = false;
        replaced_ = true;
    }
    if (!replaced_) return SaveResult::song_not_found;
    if (title_taken()) return SaveResult::title_taken;
    out_ += old_book_.after_text();  // a Ctrl-Z and what follows it
    return SaveResult::saved;
}

void Rewrite::take(const BookLine& line) {
    if (skipping_) return skip(line);
    if (line.kind == LineKind::end_marker) {
        before_end_marker_ = false;
    } else if (line.kind == LineKind::header) {
        const std::string title = folded(header_title(line.physical_text()));
        if (!new_song_ && !replaced_ && before_end_marker_ && title == folded_edited_) {
            skipping_ = true;  // the song the editor loaded: its lines go
            return;
        }
        if (title == folded_new_) other_has_title_ = true;
    }
    keep(line);
}

// A piece of the edited song's old body. Comment lines are the user's own
// notes, which the editor never showed: they stay, after the new body.
void Rewrite::skip(const BookLine& line) {
    if (!line.visible()) {
        comments_ += line.text;
        comments_ += kLineEnd;
        return;
    }
    if (line.kind != LineKind::end_marker && line.kind != LineKind::header) return;
    write_song(title_);
    skipping_ = false;
    replaced_ = true;
    take(line);  // the line that ended the body is copied like any other
}

void Rewrite::keep(const BookLine& line) {
    out_ += line.physical_text();
    if (line.line_end) out_ += kLineEnd;
    open_end_ = line.ends_text();
}

void Rewrite::write_song(std::string_view title) {
    std::string song = header_line(title, boxes_.key_text());
    saved_title_ = stored_title(song);
    song += kLineEnd;
    write_song_lines(boxes_, song);
    song += comments_;
    comments_.clear();
    out_ += song;
    open_end_ = false;
}

// Two songs of one title would be one song to every lookup: a new song, or
// a song that changes its title, may not take a title that another has.
bool Rewrite::title_taken() const {
    const bool renamed = new_song_ || folded(saved_title_) != folded_edited_;
    return renamed && other_has_title_;
}

}  // namespace

SaveResult save_song(SaveFiles& files, const DataFiles& paths, const EditorBoxes& boxes,
                     bool new_song, std::string& current_title) {
    const auto old_book = read_songbook(files, paths.songbook());
    if (!old_book) return SaveResult::book_unreadable;
    std::string title = box_title(boxes);
    if (holds(title, kEndMarker)) return SaveResult::title_has_end_marker;

    Rewrite rewrite(*old_book, boxes, std::move(title), new_song, current_title);
    const SaveResult planned = rewrite.run();
    if (planned != SaveResult::saved) return planned;

    const RotationNames names{paths.songbook(), paths.oldbook(), paths.temp()};
    const std::string_view new_book[] = {rewrite.book()};
    switch (rotate_songbook(files, names, old_book->bytes(), new_book)) {
        case Rotation::done:
            current_title = rewrite.saved_title();
            return SaveResult::saved;
        case Rotation::temp_not_written:
            return SaveResult::temp_not_written;
        case Rotation::backup_not_made:
            return SaveResult::backup_not_made;
        case Rotation::not_replaced:
            break;
    }
    return SaveResult::not_replaced;
}

std::string_view save_message(SaveResult result) {
    switch (result) {
        case SaveResult::saved:
            return "";
        case SaveResult::book_unreadable:
            return "The songbook file SONGBOOK.LYR could not be read.\rNothing was saved.";
        case SaveResult::song_not_found:
            return "The song being edited is no longer in the songbook file SONGBOOK.LYR.\r"
                   "Nothing was saved.";
        case SaveResult::title_taken:
            return "A song with this title is already in the songbook.\r"
                   "Please enter another title; nothing was saved.";
        case SaveResult::title_has_end_marker:
            return "A song title cannot hold #*#*#, which marks the end of the songbook.\r"
                   "Nothing was saved.";
        case SaveResult::temp_not_written:
            return "The song could not be saved: the file TEMP.LYR could not be written\r"
                   "(the disk may be full or write-protected). The songbook is unchanged.";
        case SaveResult::backup_not_made:
            return "The song could not be saved: the backup file OLDBOOK.LYR could not be\r"
                   "made. The songbook is unchanged.";
        case SaveResult::not_replaced:
            return "The song could not be saved: SONGBOOK.LYR could not be replaced\r"
                   "(it may be open in another program). The songbook is unchanged.";
    }
    return "";
}

}  // namespace lyro
