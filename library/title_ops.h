// The small text operations on song lines and titles that every reader of
// the songbook shares.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

inline constexpr std::string_view kEndMarker = "#*#*#";
inline constexpr std::string_view kHeaderMark = ":::::";
inline constexpr std::string_view kLabelMark = "*****";

inline bool holds(std::string_view line, std::string_view marker) {
    return line.find(marker) != std::string_view::npos;
}

// The title that a header line (one that holds ":::::") carries: after the
// run of colons and the blanks behind it, up to the next ':' (the title's
// first character never counts as that colon) or the end of the line.
std::string_view header_title(std::string_view header_line);

// What a header line's "KEY=" names: the word after the last "KEY=" that
// follows the title, up to a blank or the end of the line; empty when the
// header has none. "KEY=xx", which songdesk writes for every new song, gives
// "xx", which names no key.
std::string_view header_key(std::string_view header_line);

// a..z in capitals, every other byte as it is: the first step of folding,
// and the form in which a song added at the end gets its title.
void upper_case(std::string& title);

// Brings a title into the form in which titles are compared: a..z in
// capitals, trailing blanks, CRs and LFs cut (the first character is kept).
void fold_title(std::string& title);
std::string folded(std::string_view title);

// Removes the rich-text control words \pard \par \nowidctlpar \f0 \now \tab
// \page (the first occurrence of each, searched in that order) from a song
// line. The line's own characters, '&' included, are kept.
void strip_rtf_words(std::string& line);

}  // namespace lyro
