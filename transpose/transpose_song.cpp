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
// holds, a string for any longer one.
class LineBuilder {
public:
    explicit LineBuilder(std::size_t most) {
        if (most > kStackSize) heap_.resize(most);
        data_ = most > kStackSize ? heap_.data() : stack_.data();
    }
    std::size_t size() const { return size_; }
    // Byte by byte: the pieces are a few characters each, shorter than
    // what a call to the C library's copy would cost.
    void blanks(std::size_t count) {
        for (; count > 0; --count) data_[size_++] = ' ';
    }
    void put(std::string_view text) {
        for (const char c : text) data_[size_++] = c;
    }
    void put(char c) { data_[size_++] = c; }
    std::string_view text() const { return {data_, size_}; }

private:
    static constexpr std::size_t kStackSize = 512;
    std::array<char, kStackSize> stack_;
    std::string heap_;
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Appends the chord with its notes moved up by `shift`, spelled from `names`.
void put_chord(LineBuilder& line, const ChordParts& chord, int shift, const NoteNames& names) {
    line.put(chord.open);
    line.put(name_of(chord.root, shift, names));
    line.put(chord.suffix);
    if (chord.bass) {
        line.put('/');
        line.put(name_of(*chord.bass, shift, names));
    }
    line.put(chord.close);
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

std::optional<Pitch> header_key(std::string_view key) {
    const std::size_t root = key.size() > 1 && (key[1] == '#' || key[1] == 'b') ? 2 : 1;
    const std::optional<Pitch> pitch = note_pitch(key.substr(0, root));
    const std::string_view mode = key.substr(std::min(root, key.size()));
    if (!pitch) return std::nullopt;
    if (mode.empty() || mode == "maj" || mode == "M") return *pitch;
    if (mode == "m" || mode == "min") return moved(*pitch, kToRelativeMajor);
    return std::nullopt;
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
    LineBuilder out(3 * length + 1);
    ChordParts chord;
    std::size_t reach = length;  // how far the writing went
    for (std::size_t p = 0; p < length;) {
        if (is_gap(raw[p])) {
            ++p;
            continue;
        }
        std::size_t end = p;
        while (end < length && !is_gap(raw[end])) ++end;
        const std::string_view word = raw.substr(p, end - p);
        const std::size_t at = out.size() == 0 ? p : std::max(p, out.size() + 1);
        out.blanks(at - out.size());
        if (read_chord(word, chord)) {
            put_chord(out, chord, shift, names);
            reach = std::max(reach, out.size() + 1);  // a rewritten chord is followed by a blank
        } else {
            out.put(word);
            reach = std::max(reach, out.size());
        }
        p = end;
    }
    line.assign(out.text());
    // Grown past its end, the line takes on the fill up to column 80.
    line.resize(reach > length ? std::max(reach, kChordLineFill) : length, ' ');
}

std::optional<Pitch> song_key(const CurrentSong& song) {
    if (const auto key = header_key(song.header_key)) return key;
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
    if (!header_key(key)) return std::nullopt;
    const std::size_t root = key.size() > 1 && (key[1] == '#' || key[1] == 'b') ? 2 : 1;
    const Pitch pitch = *note_pitch(key.substr(0, root));
    return std::string(names[static_cast<std::size_t>(moved(pitch, key_offset))])
        .append(key.substr(root));
}

}  // namespace lyro
