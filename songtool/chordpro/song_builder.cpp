// Building an imported song; see song_builder.h.
#include "songtool/chordpro/song_builder.h"

#include <algorithm>

#include "library/catalog.h"
#include "library/current_song.h"
#include "library/editor_boxes.h"
#include "library/song_body.h"
#include "library/title_ops.h"
#include "songtool/chordpro/line_wrapping.h"

namespace lyro {

namespace {

// The viewer shows the first 100 characters of a stored line, the
// writer's blank included: longer lines are broken to fit.
constexpr std::size_t kWrapWidth = kSongLineMax - 1;
// The viewer holds 200 lines: the blank line 0, the writer's single-blank
// line, then the song's own.
constexpr std::size_t kSongLinesMax = kDisplaySlots - 2;
// The song editor loads at most 19,999 characters of a song (each stored
// line with its CR LF); saving a song it loaded cut short would lose the rest.
constexpr std::size_t kEditorTextMax = 19'999;

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20; }

// Why the songbook would read `line` (written as a song line) as something
// else, or nothing when it reads it as it is. Chord lines are meant to
// hold '<'.
std::optional<std::string> misread(std::string_view line, bool chord_line) {
    if (!line.empty() && line.front() == ';') {
        return "it begins with \";\", which would hide it as a comment";
    }
    if (holds(line, kHeaderMark)) return "it holds \":::::\", which would start a new song";
    if (holds(line, kEndMarker)) return "it holds \"#*#*#\", which would end the songbook";
    if (holds(line, kLabelMark)) return "it holds \"*****\", which would make a list label";
    if (!chord_line && holds(line, "<")) {
        return "the lyric holds \"<\", which would make it a chord line";
    }
    if (std::any_of(line.begin(), line.end(), [](char c) { return is_control(c) && c != '\t'; })) {
        return "it holds control characters: this is not a text file";
    }
    return std::nullopt;
}

// Why `title` cannot be a title of the songbook, or nothing.
std::optional<std::string> bad_title(std::string_view title) {
    if (title.size() > kImportTitleMax) {
        return "its title is " + std::to_string(title.size()) +
               " characters long: the library's song box finds a song by its first " +
               std::to_string(kImportTitleMax) + " only";
    }
    for (std::string_view mark : {kEndMarker, kLabelMark}) {
        if (holds(title, mark)) return "its title holds \"" + std::string(mark) + "\"";
    }
    if (std::any_of(title.begin(), title.end(), is_control)) return "its title holds control characters";
    return std::nullopt;
}

// A title as the songbook can hold it: the songbook ends a title at its
// first ':' (and takes leading ones for the header's colons), so colons
// become '-': "Psalm 23: The Lord" is imported as "Psalm 23- The Lord".
std::string book_title(std::string_view title) {
    std::string out(trimmed(title));
    std::replace(out.begin(), out.end(), ':', '-');
    return out.empty() ? "NONAME" : out;
}

}  // namespace

void SongBuilder::add_lyric(std::string line) { add_placed({"", std::move(line)}); }

void SongBuilder::add_placed(const PlacedLine& line) {
    for (const PlacedLine& piece : wrap_placed(line, kWrapWidth)) {
        if (!piece.chords.empty()) add(piece.chords, true);
        if (piece.chords.empty() || !piece.lyric.empty()) add(piece.lyric, false);
    }
}

void SongBuilder::add(std::string line, bool chord_line) {
    if (refusal_) return;
    if (const auto why = misread(line, chord_line)) return refuse(*why);
    editor_chars_ += line.size() + 3;  // the writer's blank, CR LF
    song_.lines.push_back(std::move(line));
    if (song_.lines.size() > kSongLinesMax) {
        return refuse("the song runs past " + std::to_string(kSongLinesMax) +
                      " lines, more than the viewer shows");
    }
    if (editor_chars_ > kEditorTextMax) {
        return refuse("the song is longer than the " + std::to_string(kEditorTextMax) +
                      " characters the song editor holds");
    }
}

void SongBuilder::refuse(std::string why) {
    if (!refusal_) refusal_ = ImportRefusal{number_, std::move(why), ""};
}

ImportOutcome SongBuilder::finish(std::string_view fallback_title) && {
    // A refusal names the song by the title it gives; the file's name
    // already says the rest.
    const bool titled = !song_.title.empty();
    song_.title = book_title(titled ? song_.title : fallback_title);
    const auto refused = [&](std::size_t line, std::string why) {
        return ImportRefusal{line, std::move(why), titled ? song_.title : ""};
    };
    if (refusal_) return refused(refusal_->line, refusal_->reason);
    if (std::all_of(song_.lines.begin(), song_.lines.end(),
                    [](const std::string& l) { return trimmed(l).empty(); })) {
        return refused(0, "it holds no lyric or chord lines");
    }
    // A song in a script of its own would come in as a page of '?'.
    if (letters_.unwritable * 10 > letters_.letters) {
        return refused(0, "its script cannot be written in the songbook's Windows-1252");
    }
    if (const auto why = bad_title(song_.title)) return refused(0, *why);
    if (misread(song_.key, false) || holds(song_.key, ":")) song_.key.clear();
    song_.replaced = letters_.replaced;
    song_.changed = letters_.changed;
    return std::move(song_);
}

std::string song_in_book_form(const ImportedSong& song) {
    std::string out = "::::: " + song.title + " ::::: KEY=" + (song.key.empty() ? "xx" : song.key);
    out += kLineEnd;
    std::string text;
    for (std::size_t i = 0; i < song.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += song.lines[i];
    }
    write_song_lines(EditorText(song.title, text), out);
    return out;
}

}  // namespace lyro
