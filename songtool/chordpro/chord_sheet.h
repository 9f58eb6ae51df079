// Chord sheets: songs kept as plain text with each chord line standing
// above its lyric, column for column, as most musicians write them and as
// song services export them. The songbook keeps the same layout, so a
// chord sheet comes in line for line: its chord lines are marked with '<',
// its title and key go into the header.
#pragma once

#include <string>
#include <string_view>

#include "songtool/chordpro/imported_song.h"
#include "songtool/chordpro/text_decoding.h"

namespace lyro {

// A line whose every word is a chord by the chord rule or a mark that
// chord charts use (bar lines '|', beats '/' and '.', repeats "x2",
// "N.C."), with at least one chord; its first word may name its section
// ("Intro: G C D"). A guitar tab line ("e|---0---|") is none.
bool is_chord_sheet_line(std::string_view line);

// A section line: "Verse 1", "[Chorus]", "Chorus:", "Pre-Chorus x2".
bool is_section_line(std::string_view line);

// The song of a decoded chord sheet. `fallback_title` (Windows-1252) is
// its title unless its first line is one.
ImportOutcome import_chord_sheet(const Cp1252Text& text, std::string_view fallback_title);

}  // namespace lyro
