// The chord rule and the names of notes; see chord_rule.h.
#include "transpose/chord_rule.h"

namespace lyro {

const NoteNames kFixedNames = {"A", "Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#"};

namespace {

// Windows-1252's degree sign and small o with stroke: diminished and
// half-diminished.
constexpr char kDegree = '\xB0';
constexpr char kHalfDiminished = '\xF8';

// The length of the suffix word or mark that `suffix` starts with: maj,
// min, dim, aug, sus, add, bass, m, a digit, M + - # b ( ) and the two
// diminished signs; 0 when it starts with none of them. One look at the
// first character decides which words can follow, since this runs for
// every word of every chord line at every repaint.
std::size_t suffix_piece(const char* at, const char* end) {
    const auto next = [at, end](std::ptrdiff_t i) { return at + i < end ? at[i] : '\0'; };
    const char c = *at;
    switch (c) {
    case 'm':
        if (next(1) == 'a' && next(2) == 'j') return 3;
        if (next(1) == 'i' && next(2) == 'n') return 3;
        return 1;
    case 'd': return next(1) == 'i' && next(2) == 'm' ? 3 : 0;
    case 'a':
        if (next(1) == 'u' && next(2) == 'g') return 3;
        return next(1) == 'd' && next(2) == 'd' ? 3 : 0;
    case 's': return next(1) == 'u' && next(2) == 's' ? 3 : 0;
    case 'b': return next(1) == 'a' && next(2) == 's' && next(3) == 's' ? 4 : 1;
    case 'M': case '+': case '-': case '#': case '(': case ')': case kDegree:
    case kHalfDiminished:
        return 1;
    default: return c >= '0' && c <= '9' ? 1 : 0;
    }
}

// A B C D E F G as half steps above A; -1 for a byte that is no note letter
// (either case).
constexpr std::array<signed char, 256> letter_pitches() {
    std::array<signed char, 256> table{};
    for (auto& p : table) p = -1;
    constexpr signed char kLetters[7] = {0, 2, 3, 5, 7, 8, 10};
    for (int i = 0; i < 7; ++i) {
        table[static_cast<std::size_t>('A' + i)] = kLetters[i];
        table[static_cast<std::size_t>('a' + i)] = kLetters[i];
    }
    return table;
}
constexpr std::array<signed char, 256> kLetterPitch = letter_pitches();

int letter_pitch(char c) { return kLetterPitch[static_cast<unsigned char>(c)]; }

bool is_accidental(char c) { return c == '#' || c == 'b' || c == 'B'; }

Pitch with_accidental(int pitch, char accidental) {
    if (accidental == '#') return pitch == 11 ? 0 : pitch + 1;
    return pitch == 0 ? 11 : pitch - 1;
}

bool is_word_end(const char* p, const char* limit) { return p == limit || *p == ' ' || *p == '<'; }

// Reads the rest of a chord after a root of `root_length` characters, up
// to the word's end (a blank, '<' or `limit`): a suffix, then perhaps a
// slash and a bass note. The word's end, or nullptr when it is no chord of
// that reading.
const char* scan_rest(const char* word, std::size_t root_length, const char* limit,
                      ChordParts& parts) {
    const char* p = word + root_length;
    while (!is_word_end(p, limit) && *p != '/') {
        const std::size_t n = suffix_piece(p, limit);
        if (n == 0) return nullptr;
        p += n;
    }
    parts.root_text = std::string_view(word, root_length);
    parts.suffix = std::string_view(word + root_length, static_cast<std::size_t>(p - word) - root_length);
    parts.bass.reset();
    if (is_word_end(p, limit)) return p;
    ++p;  // the slash: a bass note and nothing after it
    if (p == limit || letter_pitch(*p) < 0) return nullptr;
    int bass = letter_pitch(*p++);
    if (!is_word_end(p, limit) && is_accidental(*p)) bass = with_accidental(bass, *p++);
    if (!is_word_end(p, limit)) return nullptr;
    parts.bass = bass;
    return p;
}

// Reads the chord that starts at `word`, in one pass: the word's end, or
// nullptr when the word is no chord. "Cb7" is C flat seven, "Cbass" a C
// with its bass named: the root takes the flat only when the rest still
// reads as a chord.
const char* scan_chord(const char* word, const char* limit, ChordParts& parts) {
    const int letter = letter_pitch(*word);
    if (letter < 0) return nullptr;
    if (word + 1 < limit && is_accidental(word[1])) {
        if (const char* end = scan_rest(word, 2, limit, parts)) {
            parts.root = with_accidental(letter, word[1]);
            return end;
        }
    }
    if (const char* end = scan_rest(word, 1, limit, parts)) {
        parts.root = letter;
        return end;
    }
    return nullptr;
}

}  // namespace

bool is_minor(const ChordParts& chord) {
    return chord.suffix.substr(0, 1) == "m" && chord.suffix.substr(0, 3) != "maj";
}

std::optional<Pitch> note_pitch(std::string_view name) {
    if (name.empty() || name.size() > 2) return std::nullopt;
    const int letter = letter_pitch(name[0]);
    if (letter < 0) return std::nullopt;
    if (name.size() == 1) return letter;
    if (!is_accidental(name[1])) return std::nullopt;
    return with_accidental(letter, name[1]);
}

Pitch moved(Pitch pitch, int offset) {
    // Reduced first, so that no offset can overflow.
    return ((pitch + offset % 12) % 12 + 12) % 12;
}

bool read_chord(std::string_view word, ChordParts& parts) {
    parts.open = {};
    parts.close = {};
    if (word.size() >= 3 && word.front() == '(' && word.back() == ')') {
        parts.open = word.substr(0, 1);
        parts.close = word.substr(word.size() - 1);
        word = word.substr(1, word.size() - 2);
    }
    if (word.empty()) return false;
    const char* const limit = word.data() + word.size();
    return scan_chord(word.data(), limit, parts) == limit;
}

bool read_chord_at(std::string_view line, std::size_t from, ChordParts& parts, std::size_t& end) {
    const char* const begin = line.data();
    const char* const limit = begin + line.size();
    const char* const word = begin + from;
    parts.open = {};
    parts.close = {};
    if (const char* after = scan_chord(word, limit, parts)) {
        end = static_cast<std::size_t>(after - begin);
        return true;
    }
    const char* p = word;
    while (!is_word_end(p, limit)) ++p;
    end = static_cast<std::size_t>(p - begin);
    // A chord in parentheses, or no chord.
    return *word == '(' && read_chord(line.substr(from, end - from), parts);
}

std::optional<ChordParts> parse_chord(std::string_view word) {
    ChordParts parts;
    if (read_chord(word, parts)) return parts;
    return std::nullopt;
}

std::string transposed_chord(const ChordParts& chord, int offset, const NoteNames& names) {
    std::string out;
    out.reserve(chord.open.size() + 2 + chord.suffix.size() + 3 + chord.close.size());
    out.append(chord.open);
    out.append(names[static_cast<std::size_t>(moved(chord.root, offset))]);
    out.append(chord.suffix);
    if (chord.bass) out.append("/").append(names[static_cast<std::size_t>(moved(*chord.bass, offset))]);
    out.append(chord.close);
    return out;
}

}  // namespace lyro
