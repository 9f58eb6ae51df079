// ChordPro into the songbook's own song form; see chordpro_import.h.
#include "songtool/chordpro/chordpro_import.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "songtool/chordpro/markup.h"
#include "songtool/chordpro/song_builder.h"
#include "transpose/transpose_song.h"

namespace lyro {

namespace {

bool is_one_of(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// `"text"` without its quotes; anything else as it is.
std::string_view unquoted(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

struct Directive {
    std::string name;  // in small letters
    std::string arg;   // trimmed
};

// {meta: NAME VALUE} and {meta NAME="VALUE"} say what {NAME: VALUE} says.
Directive meta_directive(std::string_view arg) {
    const std::size_t split = arg.find_first_of(" \t=");
    Directive d{lower_ascii(arg.substr(0, split)), ""};
    if (split != std::string_view::npos) {
        std::string_view value = arg.substr(split);
        if (value.front() == '=') value.remove_prefix(1);
        d.arg = std::string(unquoted(trimmed(value)));
    }
    return d;
}

std::optional<Directive> directive(std::string_view line) {
    const std::string_view t = trimmed(line);
    if (t.size() < 2 || t.front() != '{' || t.back() != '}') return std::nullopt;
    const std::string_view inner = trimmed(t.substr(1, t.size() - 2));
    const std::size_t split = inner.find_first_of(": \t");
    Directive d{lower_ascii(inner.substr(0, split)), ""};
    if (split != std::string_view::npos) {
        std::string_view arg = inner.substr(split);
        if (arg.front() == ':') arg.remove_prefix(1);
        d.arg = std::string(trimmed(arg));
    }
    if (d.name == "meta") return meta_directive(d.arg);
    return d;
}

bool starts_song(std::string_view line) {
    const auto d = directive(line);
    return d && is_one_of(d->name, {"new_song", "ns"});
}

// A section's label: {start_of_chorus: Refrain} or {soc: label="Refrain"},
// its markup removed; `fallback` when it names none.
std::string section_label(std::string_view arg, std::string_view fallback) {
    if (arg.starts_with("label=")) arg = unquoted(trimmed(arg.substr(6)));
    std::string label = without_markup(arg);
    return trimmed(label).empty() ? std::string(fallback) : label;
}

// The names a song's chords are spelled with once moved by `offset`: its
// key's, when it names one, else the fixed table.
const NoteNames& names_after(std::string_view key, int offset) {
    const auto chord = parse_chord(key);
    if (!chord) return kFixedNames;
    return key_names(moved(chord->root, offset + (is_minor(*chord) ? 3 : 0)));
}

// Blocks whose content the songbook has no way to show.
bool left_out_block(std::string_view name) {
    return is_one_of(name, {"abc", "ly", "svg", "textblock", "image"});
}

struct Chorus {
    PlacedLine label;
    std::vector<PlacedLine> lines;
};

// Reads the lines of one song.
class SongReader {
public:
    explicit SongReader(const Cp1252Text& text) : text_(text) {}

    void take(std::string_view line, std::size_t number) {
        song_.at_line(number);
        song_.count(count_letters(text_, line));
        if (!block_end_.empty()) return take_in_block(line);
        if (trimmed(line).starts_with('#')) {
            ++song_.song().dropped;
            return;
        }
        if (const auto d = directive(line)) return take_directive(*d);
        take_lyric(line);
    }

    ImportOutcome finish(std::string_view fallback_title) && {
        ImportedSong& song = song_.song();
        if (!song.key.empty() && key_offset_.value_or(0) % 12 != 0) {
            const int offset = *key_offset_;
            song.key = transpose_key(song.key, offset, names_after(song.key, offset))
                           .value_or(song.key);
        }
        return std::move(song_).finish(fallback_title);
    }

private:
    void take_in_block(std::string_view line) {
        const auto d = directive(line);
        if (d && std::find(block_end_.begin(), block_end_.end(), d->name) != block_end_.end()) {
            block_end_.clear();
        } else if (in_tab_) {
            add_lyric(std::string(line), false);  // tabs are copied as they stand
        }
        if (block_end_.empty()) in_tab_ = false;
    }

    void take_directive(const Directive& d) {
        const std::string& n = d.name;
        if (is_one_of(n, {"title", "t"}) && !d.arg.empty()) {
            if (song_.song().title.empty()) song_.song().title = without_markup(d.arg);
        } else if (n == "key" && !d.arg.empty()) {
            song_.song().key = without_markup(d.arg);
        } else if (is_one_of(n, {"subtitle", "st", "artist", "comment", "c", "comment_italic",
                                 "ci", "comment_box", "cb", "highlight"}) &&
                   !d.arg.empty()) {
            add_lyric(d.arg);
        } else if (n == "capo" && !d.arg.empty()) {
            add_lyric("Capo " + d.arg);
        } else if (n == "transpose") {
            take_transpose(d.arg);
        } else if (n == "chorus") {
            repeat_chorus(d.arg);
        } else if (!take_section(d)) {
            ++song_.song().dropped;  // no place for it in the songbook
        }
    }

    // Sections, and the blocks that are copied or left out.
    bool take_section(const Directive& d) {
        const std::string& n = d.name;
        if (is_one_of(n, {"start_of_chorus", "soc"})) {
            if (chorus_now_) last_chorus_ = std::move(chorus_now_);
            chorus_now_.reset();
            const PlacedLine label{"", section_label(d.arg, "Chorus:")};
            put(label);
            chorus_now_ = Chorus{label, {}};
        } else if (is_one_of(n, {"end_of_chorus", "eoc"})) {
            if (chorus_now_) last_chorus_ = std::move(*chorus_now_);
            chorus_now_.reset();
        } else if (is_one_of(n, {"start_of_verse", "sov"})) {
            put({"", section_label(d.arg, "Verse:")});
        } else if (is_one_of(n, {"start_of_bridge", "sob"})) {
            put({"", section_label(d.arg, "Bridge:")});
        } else if (is_one_of(n, {"start_of_tab", "sot"})) {
            in_tab_ = true;
            block_end_ = {"end_of_tab", "eot"};
        } else if (n.starts_with("start_of_") && left_out_block(n.substr(9))) {
            ++song_.song().blocks;
            block_end_ = {"end_of_" + n.substr(9)};
        } else if (n == "image") {
            ++song_.song().blocks;
        } else {
            return is_one_of(n, {"end_of_verse", "eov", "end_of_bridge", "eob"});
        }
        return true;
    }

    // {transpose: N} moves the chords after it; a later one replaces it and
    // one without a number ends it.
    void take_transpose(std::string_view arg) {
        if (arg.starts_with('+')) arg.remove_prefix(1);
        int offset = 0;
        const auto [end, error] = std::from_chars(arg.data(), arg.data() + arg.size(), offset);
        if (!arg.empty() && (error != std::errc() || end != arg.data() + arg.size())) {
            ++song_.song().dropped;
            return;
        }
        transpose_ = offset % 12;
    }

    // {chorus}: the last chorus again, in full, so that nobody has to look
    // back for it; its label replaced by the directive's own, if any.
    void repeat_chorus(std::string_view arg) {
        const Chorus* chorus = last_chorus_ ? &*last_chorus_ : nullptr;
        const std::string fallback = chorus ? chorus->label.lyric : "Chorus:";
        put({"", section_label(arg, fallback)});
        if (!chorus) return;
        for (const PlacedLine& line : chorus->lines) put(line);
    }

    void take_lyric(std::string_view line) {
        const ChordMove move{transpose_, &names_after(song_.song().key, transpose_)};
        const PlacedLine placed = place_chords(without_markup(line), move);
        if (!placed.chords.empty() && !key_offset_) key_offset_ = transpose_;
        put(placed);
    }

    void add_lyric(std::string_view text, bool markup = true) {
        std::string line = markup ? without_markup(text) : std::string(text);
        std::replace(line.begin(), line.end(), '<', kTextAngle);
        put({"", std::move(line)});
    }

    void put(const PlacedLine& line) {
        song_.add_placed(line);
        if (chorus_now_) chorus_now_->lines.push_back(line);
    }

    const Cp1252Text& text_;
    SongBuilder song_;
    std::vector<std::string> block_end_;  // the directives that end the block being read
    bool in_tab_ = false;
    int transpose_ = 0;
    std::optional<int> key_offset_;  // the transposition of the song's first chord
    std::optional<Chorus> chorus_now_;
    std::optional<Chorus> last_chorus_;
};

// Whether the lines hold anything but blanks and comments.
bool holds_song(const std::vector<std::string_view>& lines, std::size_t from, std::size_t to) {
    return std::any_of(lines.begin() + from, lines.begin() + to, [](std::string_view l) {
        const std::string_view t = trimmed(l);
        return !t.empty() && !t.starts_with('#');
    });
}

}  // namespace

std::vector<ImportOutcome> import_chordpro_songs(const Cp1252Text& text,
                                                 std::string_view fallback_title) {
    const std::vector<std::string_view> lines = file_lines(text.bytes);
    // Each song's lines: [from, to) between {new_song} directives.
    std::vector<std::pair<std::size_t, std::size_t>> songs;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        if (i < lines.size() && !starts_song(lines[i])) continue;
        if (holds_song(lines, from, i)) songs.emplace_back(from, i);
        from = i + 1;
    }
    std::vector<ImportOutcome> out;
    for (std::size_t s = 0; s < songs.size(); ++s) {
        SongReader reader(text);
        for (std::size_t i = songs[s].first; i < songs[s].second; ++i) reader.take(lines[i], i + 1);
        const std::string fallback =
            std::string(fallback_title) + (s == 0 ? "" : " " + std::to_string(s + 1));
        out.push_back(std::move(reader).finish(fallback));
    }
    return out;
}

ImportOutcome import_chordpro(std::string_view file_bytes, std::string_view fallback_title) {
    const Cp1252Text text = decode_to_cp1252(file_bytes);
    std::vector<ImportOutcome> songs =
        import_chordpro_songs(text, decode_to_cp1252(fallback_title).bytes);
    if (songs.empty()) return ImportRefusal{0, "it holds no lyric or chord lines", ""};
    return std::move(songs.front());
}

}  // namespace lyro
