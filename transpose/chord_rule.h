// What a chord is, the one rule for every part of the project that asks
// whether a word on a chord line is a chord: a root (A-G or a-g), an
// optional sharp or flat, a suffix made of what chord names are made of,
// and an optional slash and bass note; the whole may stand in parentheses.
// Anything else on a chord line (N.C., Capo, x2, |, Intro:) is a word.
// Also here: the notes as numbers, and their names.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lyro {

// A note as the number of half steps above A, 0 to 11.
using Pitch = int;

// The twelve names a pitch is written with.
using NoteNames = std::array<std::string_view, 12>;

// The fixed spelling: A Bb B C C# D Eb E F F# G G#.
extern const NoteNames kFixedNames;

// A chord split into its parts: everything but the two notes is carried
// over unchanged when the chord is transposed.
struct ChordParts {
    std::string_view open;    // "(" or ""
    std::string_view root_text;  // the root as written: "a", "Bb", "E#"
    Pitch root = 0;
    std::string_view suffix;  // "m7", "sus4", "maj7(b9)", ...
    std::optional<Pitch> bass;
    std::string_view close;   // ")" or ""
};

// The parts of `word` when it is a chord by the rule; nullopt otherwise.
// A capital B after the root letter is a flat too (EB is E flat).
std::optional<ChordParts> parse_chord(std::string_view word);
// The same into `parts`, for the transposition's loop: true for a chord.
bool read_chord(std::string_view word, ChordParts& parts);

// Reads the word of `line` that starts at `from` and ends before the next
// blank or '<' (or the line's end), which `end` is set to: true when it is
// a chord, whose parts are then in `parts`. One pass over the word.
bool read_chord_at(std::string_view line, std::size_t from, ChordParts& parts, std::size_t& end);

inline bool is_chord(std::string_view word) { return parse_chord(word).has_value(); }

// Whether the chord is a minor one: its suffix starts with "m" or "min",
// not "maj".
bool is_minor(const ChordParts& chord);

// The pitch of a note name: a letter A-G (either case) and an optional
// sharp or flat ('#', 'b', 'B'). Every letter with a sharp or a flat is a
// note: E# is F, Cb is B. nullopt for anything else.
std::optional<Pitch> note_pitch(std::string_view name);

// `pitch` moved by `offset` half steps (any int), 0 to 11 again.
Pitch moved(Pitch pitch, int offset);

// The chord written with both its notes moved by `offset` and spelled from
// `names`.
std::string transposed_chord(const ChordParts& chord, int offset, const NoteNames& names);

}  // namespace lyro
