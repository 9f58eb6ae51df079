// Chord-line transposition over columns of plain text: each word of a
// chord line is placed at its old column, or further right when the word
// before it grew into it; chords are rewritten, other words copied.
#include "transpose/transpose_song.h"

#include <algorithm>
#include <array>

namespace lyro {

namespace {

// Separates words on a chord line; the '<' marks are shown as blanks.
bool is_gap(char c) { return c == ' ' || c == '<'; }

// The name of `pitch` moved up by `shift` (0 to 11) half steps.
std::string_view name_of(Pitch pitch, int shift, const NoteNames& names) {
    const int moved_up = pitch + shift;
    return names[static_cast<std::size_t>(moved_up >= 12 ? moved_up - 12 : moved_up)];
}

// Where a line is built: a buffer of the stack for every line a song
// holds, a string for any longer one. The write position is kept by the
// caller, in a local: a store through a char pointer could change a member,
// so a member would be read again at every byte.
class LineBuffer {
public:
    explicit LineBuffer(std::size_t most) {
        if (most > kStackSize) heap_.resize(most);
        data_ = most > kStackSize ? heap_.data() : stack_.data();
    }
    char* data() const { return data_; }

private:
    static constexpr std::size_t kStackSize = 512;
    std::array<char, kStackSize> stack_;
    std::string heap_;
    char* data_ = nullptr;
};

// Byte by byte: the pieces are a few characters each, shorter than what a
// call to the C library's copy would cost.
char* put(char* out, std::string_view text) {
    for (const char c : text) *out++ = c;
    return out;
}

// A note's name: one or two characters.
char* put_name(char* out, std::string_view name) {
    *out++ = name[0];
    if (name.size() > 1) *out++ = name[1];
    return out;
}

// Writes the chord with its notes moved up by `shift`, spelled from `names`.
char* put_chord(char* out, const ChordParts& chord, int shift, const NoteNames& names) {
    if (!chord.open.empty()) *out++ = '(';
    out = put_name(out, name_of(chord.root, shift, names));
    if (!chord.suffix.empty()) out = put(out, chord.suffix);
    if (chord.bass) {
        *out++ = '/';
        out = put_name(out, name_of(*chord.bass, shift, names));
    }
    if (!chord.close.empty()) *out++ = ')';
    return out;
}

// The names of the notes by key: black keys flat in the flat keys, sharp
// in the sharp keys, and in C as the fixed table has them but for A flat.
constexpr NoteNames kFlatNames = {"A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
constexpr NoteNames kSharpNames = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
constexpr NoteNames kNamesInC = {"A", "Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab"};

// The major keys whose names are flats, as pitches above A: F, Bb, Eb, Ab, Db.
bool is_flat_key(Pitch key) { return key == 8 || key == 1 || key == 6 || key == 11 || key == 4; }

// The relative major of a minor key is three half steps above it.
constexpr int kToRelativeMajor = 3;

// A key name split: its root and what follows it ("", "m", "min", "maj",
// "M"); nullopt for anything that names no key.
struct KeyName {
    Pitch root = 0;
    std::string_view mode;

    // The major key it names: a minor key by its relative major.
    Pitch major() const {
        return mode == "m" || mode == "min" ? moved(root, kToRelativeMajor) : root;
    }
};

std::optional<KeyName> key_name(std::string_view key) {
    const std::size_t root_length = key.size() > 1 && (key[1] == '#' || key[1] == 'b') ? 2 : 1;
    const std::optional<Pitch> root = note_pitch(key.substr(0, root_length));
    if (!root) return std::nullopt;
    const std::string_view mode = key.substr(root_length);
    if (!(mode.empty() || mode == "m" || mode == "min" || mode == "maj" || mode == "M"))
        return std::nullopt;
    return KeyName{*root, mode};
}

// The last chord of the song's chord lines, read from the end.
std::optional<ChordParts> last_chord(const CurrentSong& song) {
    const std::size_t count = std::min(song.line_count, song.raw.size());
    for (std::size_t i = count; i-- > 0;) {
        const std::string_view line = song.raw[i];
        if (line.find('<') == std::string_view::npos) continue;
        std::size_t end = line.size();
        while (end > 0) {
            while (end > 0 && is_gap(line[end - 1])) --end;
            std::size_t start = end;
            while (start > 0 && !is_gap(line[start - 1])) --start;
            if (start == end) break;
            if (auto chord = parse_chord(line.substr(start, end - start))) return chord;
            end = start;
        }
    }
    return std::nullopt;
}

}  // namespace

void transpose_line(std::string_view raw, int key_offset, std::string& line,
                    const NoteNames& names) {
    if (raw.find('<') == std::string_view::npos) {
        line.assign(raw);
        return;
    }
    const std::size_t length = raw.size();
    const int shift = moved(0, key_offset);
    // Words are placed left to right, each at its old column or one blank
    // after the word before it, whichever lies further right. A word grows
    // by two characters at most (its root and its bass), and one blank
    // stands after it.
    LineBuffer buffer(3 * length + 1);
    char* const start = buffer.data();
    char* out = start;
    ChordParts chord;
    std::size_t reach = length;  // how far the writing went
    for (std::size_t p = 0; p < length;) {
        if (is_gap(raw[p])) {
            ++p;
            continue;
        }
        std::size_t end = p;
        const bool is_chord = read_chord_at(raw, p, chord, end);
        const auto written = static_cast<std::size_t>(out - start);
        const std::size_t at = written == 0 ? p : std::max(p, written + 1);
        for (char* const stop = start + at; out != stop; ++out) *out = ' ';
        if (is_chord) {
            out = put_chord(out, chord, shift, names);
            reach = std::max(reach, static_cast<std::size_t>(out - start) + 1);  // and its blank
        } else {
            out = put(out, raw.substr(p, end - p));
            reach = std::max(reach, static_cast<std::size_t>(out - start));
        }
        p = end;
    }
    line.assign(start, out);
    // Grown past its end, the line takes on the fill up to column 80.
    line.resize(reach > length ? std::max(reach, kChordLineFill) : length, ' ');
}

std::optional<Pitch> song_key(const CurrentSong& song) {
    if (const auto key = key_name(song.header_key)) return key->major();
    const std::optional<ChordParts> last = last_chord(song);
    if (!last) return std::nullopt;
    return is_minor(*last) ? moved(last->root, kToRelativeMajor) : last->root;
}

const NoteNames& key_names(Pitch key) {
    if (moved(key, 0) == 3) return kNamesInC;
    return is_flat_key(moved(key, 0)) ? kFlatNames : kSharpNames;
}

const NoteNames& names_for(const CurrentSong& song, int key_offset, Spelling spelling) {
    if (spelling == Spelling::fixed) return kFixedNames;
    const std::optional<Pitch> key = song_key(song);
    return key ? key_names(moved(*key, key_offset)) : kFixedNames;
}

void transpose_song(CurrentSong& song, int key_offset, Spelling spelling) {
    const NoteNames& names = names_for(song, key_offset, spelling);
    const std::size_t count = std::min(song.line_count, song.raw.size());
    if (song.display.size() < count) song.display.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        transpose_line(song.raw[i], key_offset, song.display[i], names);
}

std::optional<std::string> transpose_key(std::string_view key, int key_offset,
                                         const NoteNames& names) {
    const std::optional<KeyName> name = key_name(key);
    if (!name) return std::nullopt;
    return std::string(names[static_cast<std::size_t>(moved(name->root, key_offset))])
        .append(name->mode);
}

}  // namespace lyro
