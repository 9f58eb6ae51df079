// Reading chord sheets; see chord_sheet.h.
#include "songtool/chordpro/chord_sheet.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "songtool/chordpro/markup.h"
#include "songtool/chordpro/song_builder.h"
#include "transpose/chord_rule.h"
#include "transpose/transpose_song.h"

namespace lyro {

namespace {

// Chord sheets come from editors whose tab stops are 8 columns apart.
constexpr std::size_t kTabStop = 8;
// The title and the key stand in the first lines of a sheet.
constexpr std::size_t kHeadLines = 6;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The words of `line`, split at blanks and at the characters in `also`.
std::vector<std::string_view> words(std::string_view line, std::string_view also = "") {
    std::vector<std::string_view> out;
    const std::string stops = " \t" + std::string(also);
    for (std::size_t i = line.find_first_not_of(stops); i != std::string_view::npos;) {
        const std::size_t end = std::min(line.find_first_of(stops, i), line.size());
        out.push_back(line.substr(i, end - i));
        i = line.find_first_not_of(stops, end);
    }
    return out;
}

// "x2", "2x", "(x4)", "X3": how often a line is played.
bool is_repeat_mark(std::string_view word) {
    if (word.size() >= 3 && word.front() == '(' && word.back() == ')') {
        word = word.substr(1, word.size() - 2);
    }
    const bool x_first = !word.empty() && (word.front() == 'x' || word.front() == 'X');
    const bool x_last = !word.empty() && (word.back() == 'x' || word.back() == 'X');
    if (x_first == x_last) return false;
    const std::string_view digits = x_first ? word.substr(1) : word.substr(0, word.size() - 1);
    return !digits.empty() && digits.size() <= 2 && std::all_of(digits.begin(), digits.end(), is_digit);
}

bool is_chart_mark(std::string_view word) {
    if (std::all_of(word.begin(), word.end(), [](char c) { return c == '/' || c == '.' || c == ':' || c == '%'; })) {
        return true;
    }
    const std::string w = lower_ascii(word);
    return w == "n.c." || w == "n.c" || w == "nc" || w == "(n.c.)" || is_repeat_mark(word);
}

// The lines that name a section of a song, in the languages songs come in.
constexpr std::array<std::string_view, 24> kSectionNames{
    "verse",  "chorus", "refrain",   "bridge", "intro",       "outro",
    "pre-chorus", "prechorus", "post-chorus", "tag", "ending", "interlude",
    "instrumental", "coda", "solo", "vamp", "hook", "turnaround",
    "break", "strophe", "strofa", "refren", "sloka", "ref.",
};

std::string_view without_brackets(std::string_view t) {
    if (t.size() >= 2 && ((t.front() == '[' && t.back() == ']') || (t.front() == '(' && t.back() == ')'))) {
        return trimmed(t.substr(1, t.size() - 2));
    }
    return t;
}

// "Chorus", "Intro:", "[Bridge]": a section's name as one word.
bool is_section_name(std::string_view word) {
    word = without_brackets(word);
    if (word.ends_with(':')) word.remove_suffix(1);
    const std::string name = lower_ascii(word);
    return std::find(kSectionNames.begin(), kSectionNames.end(), name) != kSectionNames.end();
}

std::string expanded_tabs(std::string_view line) {
    std::string out;
    for (char c : line) {
        if (c == '\t') {
            out.append(kTabStop - out.size() % kTabStop, ' ');
        } else {
            out += c;
        }
    }
    return out;
}

// The key that a "Key: G" or "Key - Bb" line names.
std::optional<std::string> key_of(std::string_view line) {
    const std::string_view t = trimmed(line);
    if (lower_ascii(t.substr(0, 3)) != "key") return std::nullopt;
    std::string_view rest = trimmed(t.substr(3));
    if (rest.empty() || (rest.front() != ':' && rest.front() != '-' && rest.front() != '=')) {
        return std::nullopt;
    }
    const std::vector<std::string_view> named = words(rest.substr(1));
    if (named.empty() || !transpose_key(named.front(), 0)) return std::nullopt;
    return std::string(named.front());
}

struct Sheet {
    std::vector<std::string> lines;  // tabs expanded, blanks at the end cut
    std::vector<std::size_t> numbers;  // each line's 1-based line of the file
    std::vector<bool> chord_lines;     // which of them are chord lines
};

}  // namespace

bool is_chord_sheet_line(std::string_view line) {
    // Tab lines run dashes between their fret numbers.
    if (line.find("--") != std::string_view::npos) return false;
    const std::vector<std::string_view> all = words(line, "|");
    // "Intro: G C D": a section's chords may follow its name.
    const bool named = !all.empty() && is_section_name(all.front());
    std::size_t chords = 0;
    for (std::size_t i = named ? 1 : 0; i < all.size(); ++i) {
        if (is_chord(all[i])) {
            ++chords;
        } else if (!is_chart_mark(all[i])) {
            return false;
        }
    }
    return chords > 0;
}

bool is_section_line(std::string_view line) {
    std::string_view t = without_brackets(trimmed(line));
    if (trimmed(line).starts_with('[') && trimmed(line).ends_with(']')) return true;
    if (t.ends_with(':')) t = trimmed(t.substr(0, t.size() - 1));
    const std::vector<std::string_view> named = words(t);
    if (named.empty() || named.size() > 3) return false;
    if (!is_section_name(named.front())) return false;
    // What may follow the name: a number ("Verse 2", "Verse 2a"), a
    // repeat ("Chorus x2").
    const auto short_word = [](std::string_view w) {
        return w.size() <= 3 && std::all_of(w.begin(), w.end(), [](char c) {
                   return is_digit(c) || c == '.' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
               });
    };
    return std::all_of(named.begin() + 1, named.end(),
                       [&](std::string_view w) { return is_repeat_mark(w) || short_word(w); });
}

ImportOutcome import_chord_sheet(const Cp1252Text& text, std::string_view fallback_title) {
    SongBuilder song;
    Sheet sheet;
    const std::vector<std::string_view> raw = file_lines(text.bytes);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        song.count(count_letters(text, raw[i]));
        sheet.lines.push_back(without_end_blanks(expanded_tabs(raw[i])));
        sheet.numbers.push_back(i + 1);
        sheet.chord_lines.push_back(!trimmed(sheet.lines.back()).empty() &&
                                    is_chord_sheet_line(sheet.lines.back()));
    }
    const auto blank = [&](std::size_t i) { return i >= sheet.lines.size() || trimmed(sheet.lines[i]).empty(); };
    const auto chord_line = [&](std::size_t i) { return i < sheet.lines.size() && sheet.chord_lines[i]; };

    std::size_t at = 0;
    while (at < sheet.lines.size() && blank(at)) ++at;
    // The first line is the title when something that a title stands
    // above follows it: a blank line, a section, the key. A sheet that
    // opens with its key or its first section has no title line.
    if (at < sheet.lines.size() && !chord_line(at) && !key_of(sheet.lines[at]) &&
        !is_section_line(sheet.lines[at]) &&
        at + 1 < sheet.lines.size() &&
        (blank(at + 1) || is_section_line(sheet.lines[at + 1]) || key_of(sheet.lines[at + 1]))) {
        song.song().title = std::string(trimmed(sheet.lines[at]));
        ++at;
    }
    std::vector<bool> skip(sheet.lines.size(), false);
    for (std::size_t i = at; i < std::min(sheet.lines.size(), at + kHeadLines) && !chord_line(i); ++i) {
        if (const auto key = key_of(sheet.lines[i])) {
            song.song().key = *key;
            skip[i] = words(sheet.lines[i]).size() <= 3;  // "Key: G" alone says nothing more
            break;
        }
    }
    std::size_t end = sheet.lines.size();
    while (end > at && (blank(end - 1) || skip[end - 1])) --end;
    while (at < end && (blank(at) || skip[at])) ++at;

    bool any_chords = false;
    for (std::size_t i = at; i < end; ++i) {
        if (skip[i]) continue;
        song.at_line(sheet.numbers[i]);
        std::string& line = sheet.lines[i];
        if (!chord_line(i)) {
            std::replace(line.begin(), line.end(), '<', kTextAngle);
            song.add_lyric(line);
            continue;
        }
        any_chords = true;
        PlacedLine placed{marked_chord_line(line), ""};
        if (i + 1 < end && !blank(i + 1) && !chord_line(i + 1) && !is_section_line(sheet.lines[i + 1])) {
            placed.lyric = sheet.lines[++i];
            std::replace(placed.lyric.begin(), placed.lyric.end(), '<', kTextAngle);
        }
        song.add_placed(placed);
    }
    song.song().chord_sheet = true;
    song.song().no_chord_lines = !any_chords;
    return std::move(song).finish(fallback_title);
}

}  // namespace lyro
