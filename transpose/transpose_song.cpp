// Chord-line transposition over columns of plain text: each chord is
// rewritten in place, followed by one blank, and the scan goes on from the
// second column after the old chord. A root that gains a character
// overwrites the column after that blank; song authors leave room for it.
#include "transpose/transpose_song.h"

#include <algorithm>
#include <array>

namespace lyro {

namespace {

constexpr std::array<std::string_view, 12> kNoteNames = {
    "A", "Bb", "B", "C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#"};

struct Respelling {
    std::string_view from;
    std::string_view to;
};
// Spellings of black keys that the table does not hold. D# is everyday
// spelling too and must not come out as the unknown-root marker.
constexpr std::array<Respelling, 5> kRespellings = {
    {{"Ab", "G#"}, {"Db", "C#"}, {"Gb", "F#"}, {"A#", "Bb"}, {"D#", "Eb"}}};

constexpr std::string_view kUnknownRoot = "XX";

// A run of more characters than this that starts with a note letter is
// taken as a one-letter chord (a word such as a long chord-like name).
constexpr std::size_t kTokenMax = 9;

bool is_small_note(char c) { return c >= 'a' && c <= 'g'; }
bool is_note(char c) { return c >= 'A' && c <= 'G'; }

// The root moved by the offset, spelled from the table; "XX" for a root that
// the table does not know (E#, B#, Cb, Fb and the like).
std::string_view moved_root(std::string_view root, int key_offset) {
    for (const Respelling& r : kRespellings) {
        if (root == r.from) {
            root = r.to;
            break;
        }
    }
    const auto found = std::find(kNoteNames.begin(), kNoteNames.end(), root);
    if (found == kNoteNames.end()) return kUnknownRoot;
    const int at = static_cast<int>(found - kNoteNames.begin());
    return kNoteNames[static_cast<std::size_t>(((at + key_offset % 12) % 12 + 12) % 12)];
}

// The chord token that starts the text: its length, its root as the table
// spells it (letter, then "b" or "#"), and where its suffix starts.
struct Token {
    std::size_t length;
    std::array<char, 2> root;
    std::size_t root_length;

    std::string_view root_name() const { return {root.data(), root_length}; }
};

Token read_token(std::string_view from) {
    std::size_t count = 0;
    while (count < from.size() && from[count] != ' ' && count <= kTokenMax) ++count;
    const std::size_t n = count > kTokenMax ? 1 : count;
    const char letter = from[0];
    const char second = n >= 2 ? from[1] : '\0';
    // A capital B is a flat too; a small b is one unless it starts "bas"
    // (a bass note written out).
    const bool flat = second == 'B' || (second == 'b' && !(n >= 4 && from.substr(1, 3) == "bas"));
    if (flat) return {n, {letter, 'b'}, 2};
    if (second == '#') return {n, {letter, '#'}, 2};
    return {n, {letter, '\0'}, 1};
}

// Writes `text` over the line from column `at`. Writing past the line's end
// exposes the blank fill up to kChordLineFill, or runs on to the end of the
// text when that lies further.
void write_over(std::string& line, std::size_t at, std::string_view text) {
    const std::size_t end = at + text.size();
    if (end > line.size()) line.resize(std::max(end, kChordLineFill), ' ');
    std::copy(text.begin(), text.end(), line.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

void transpose_line(std::string_view raw, int key_offset, std::string& line) {
    line.assign(raw);
    const std::size_t first_mark = line.find('<');
    if (first_mark == std::string::npos) return;
    std::replace(line.begin() + static_cast<std::ptrdiff_t>(first_mark), line.end(), '<', ' ');

    const std::size_t length = line.size();  // fixed, even when the line grows
    std::size_t p = 0;
    while (p < length) {
        if (is_small_note(line[p])) line[p] = static_cast<char>(line[p] - 'a' + 'A');
        if (!is_note(line[p])) {
            ++p;
            continue;
        }
        const std::string_view rest = std::string_view(line).substr(p);
        const Token token = read_token(rest);
        const std::string_view root = moved_root(token.root_name(), key_offset);
        const std::string_view suffix =
            rest.substr(token.root_length, token.length - std::min(token.length, token.root_length));

        // Built aside first: the suffix is read from the columns it overwrites.
        std::array<char, 2 + kTokenMax + 1> chord{};
        std::size_t size = 0;
        for (char c : root) chord[size++] = c;
        for (char c : suffix) chord[size++] = c;
        chord[size++] = ' ';
        write_over(line, p, std::string_view(chord.data(), size));
        p += token.length + 1;
    }
}

void transpose_song(CurrentSong& song, int key_offset) {
    const std::size_t count = std::min(song.line_count, song.raw.size());
    if (song.display.size() < count) song.display.resize(count);
    for (std::size_t i = 0; i < count; ++i) transpose_line(song.raw[i], key_offset, song.display[i]);
}

std::optional<std::string> transpose_key(std::string_view key, int key_offset) {
    if (key.empty()) return std::nullopt;
    char letter = key[0];
    if (is_small_note(letter)) letter = static_cast<char>(letter - 'a' + 'A');
    if (!is_note(letter)) return std::nullopt;
    std::string root(1, letter);
    std::string_view mode = key.substr(1);
    if (!mode.empty() && (mode[0] == '#' || mode[0] == 'b')) {
        root += mode[0];
        mode.remove_prefix(1);
    }
    if (!(mode.empty() || mode == "m" || mode == "min" || mode == "maj" || mode == "M"))
        return std::nullopt;
    const std::string_view moved = moved_root(root, key_offset);
    if (moved == kUnknownRoot) return std::nullopt;
    return std::string(moved).append(mode);
}

}  // namespace lyro
