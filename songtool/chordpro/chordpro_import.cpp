// ChordPro into the songbook's own song form; see chordpro_import.h.
#include "songtool/chordpro/chordpro_import.h"

#include <algorithm>
#include <optional>

#include "library/catalog.h"
#include "library/current_song.h"
#include "library/editor_boxes.h"
#include "library/song_body.h"
#include "library/title_ops.h"
#include "platform/whole_file.h"
#include "songtool/chordpro/chord_placement.h"
#include "songtool/chordpro/line_wrapping.h"
#include "songtool/chordpro/text_decoding.h"

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

std::string_view trimmed(std::string_view s) {
    const std::size_t from = s.find_first_not_of(" \t");
    if (from == std::string_view::npos) return {};
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The file's lines: LF, CR LF or a lone CR ends one.
std::vector<std::string_view> file_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(from, end - from));
        from = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

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
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; };
    if (std::any_of(line.begin(), line.end(), control)) {
        return "it holds control characters: this is not a text file";
    }
    return std::nullopt;
}

struct Directive {
    std::string name;  // in small letters
    std::string arg;   // trimmed
};

std::optional<Directive> directive(std::string_view line) {
    const std::string_view t = trimmed(line);
    if (t.size() < 2 || t.front() != '{' || t.back() != '}') return std::nullopt;
    const std::string_view inner = trimmed(t.substr(1, t.size() - 2));
    const std::size_t split = inner.find_first_of(": \t");
    Directive d{lower(inner.substr(0, split)), ""};
    if (split != std::string_view::npos) {
        std::string_view arg = inner.substr(split);
        if (arg.front() == ':') arg.remove_prefix(1);
        d.arg = std::string(trimmed(arg));
    }
    return d;
}

bool is_one_of(const std::string& name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Reads the file's lines into a song, one at a time.
class SongReader {
public:
    explicit SongReader(ImportedSong& song) : song_(song) {}

    // False (with `refusal` set) when the song cannot be imported.
    bool take(std::string_view line, std::size_t number, ImportRefusal& refusal) {
        number_ = number;
        refusal_ = &refusal;
        if (in_tab_) {
            if (const auto d = directive(line); d && is_one_of(d->name, {"end_of_tab", "eot"})) {
                in_tab_ = false;
                return true;
            }
            return add_lyric(std::string(line));  // tabs are copied as they stand
        }
        if (trimmed(line).starts_with('#')) {
            ++song_.dropped;
            return true;
        }
        if (const auto d = directive(line)) return take_directive(*d);
        return take_lyric(line);
    }

private:
    bool take_directive(const Directive& d) {
        const std::string& n = d.name;
        if (is_one_of(n, {"title", "t"}) && !d.arg.empty()) {
            if (song_.title.empty()) song_.title = d.arg;
        } else if (n == "key" && !d.arg.empty()) {
            song_.key = d.arg;
        } else if (is_one_of(n, {"subtitle", "st", "artist", "comment", "c", "comment_italic",
                                 "ci", "comment_box", "cb"}) && !d.arg.empty()) {
            return add_lyric(d.arg);
        } else if (is_one_of(n, {"start_of_chorus", "soc"})) {
            return add_lyric(d.arg.empty() ? "Chorus:" : d.arg);
        } else if (is_one_of(n, {"start_of_verse", "sov"})) {
            return add_lyric(d.arg.empty() ? "Verse:" : d.arg);
        } else if (is_one_of(n, {"start_of_bridge", "sob"})) {
            return add_lyric(d.arg.empty() ? "Bridge:" : d.arg);
        } else if (is_one_of(n, {"start_of_tab", "sot"})) {
            in_tab_ = true;
        } else if (!is_one_of(n, {"end_of_chorus", "eoc", "end_of_verse", "eov",
                                  "end_of_bridge", "eob"})) {
            ++song_.dropped;  // no place for it in the songbook
        }
        return true;
    }

    bool take_lyric(std::string_view line) { return add_placed(place_chords(line)); }

    bool add_lyric(std::string line) { return add_placed({"", std::move(line)}); }

    bool add_placed(const PlacedLine& line) {
        for (const PlacedLine& piece : wrap_placed(line, kWrapWidth)) {
            if (!piece.chords.empty() && !add(piece.chords, true)) return false;
            if ((piece.chords.empty() || !piece.lyric.empty()) && !add(piece.lyric, false)) {
                return false;
            }
        }
        return true;
    }

    bool add(std::string line, bool chord_line) {
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
        return true;
    }

    bool refuse(std::string why) {
        *refusal_ = {number_, std::move(why)};
        return false;
    }

    ImportedSong& song_;
    bool in_tab_ = false;
    std::size_t number_ = 0;
    ImportRefusal* refusal_ = nullptr;
    std::size_t editor_chars_ = 3;  // the writer's single-blank line
};

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
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
    if (std::any_of(title.begin(), title.end(), control)) return "its title holds control characters";
    return std::nullopt;
}

// A title as the songbook can hold it: the songbook ends a title at its
// first ':' (and takes leading ones for the header's colons), so colons
// become '-': "Psalm 23: The Lord" is imported as "Psalm 23- The Lord".
std::string book_title(std::string_view title) {
    std::string out(trimmed(title));
    std::replace(out.begin(), out.end(), ':', '-');
    return out;
}

}  // namespace

ImportOutcome import_chordpro(std::string_view file_bytes, std::string_view fallback_title) {
    const Cp1252Text text = decode_to_cp1252(file_bytes);
    ImportedSong song;
    song.replaced = text.replaced;
    SongReader reader(song);
    const std::vector<std::string_view> lines = file_lines(text.bytes);
    ImportRefusal refusal;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!reader.take(lines[i], i + 1, refusal)) return refusal;
    }
    if (std::all_of(song.lines.begin(), song.lines.end(), [](const std::string& l) {
            return trimmed(l).empty();
        })) {
        return ImportRefusal{0, "it holds no lyric or chord lines"};
    }
    const Cp1252Text fallback = decode_to_cp1252(fallback_title);
    song.title = book_title(song.title.empty() ? fallback.bytes : song.title);
    if (song.title.empty()) song.title = "NONAME";
    if (const auto why = bad_title(song.title)) return ImportRefusal{0, *why};
    if (const auto why = misread(song.key, false); why || holds(song.key, ":")) song.key.clear();
    return song;
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
