// Song files dress their text in markup (<b>, <span color="red">, an
// <img/> in a label) that the songbook cannot show, and a '<' left in a
// lyric would make it a chord line there.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

// Windows-1252's single left angle quote, which stands in for a '<' that
// is text: it reads the same and marks no chord line.
inline constexpr char kTextAngle = '\x8B';

// `text` with its tags (a '<' followed by a letter, '/' or '!', up to the
// next '>') removed and their content kept, and the entities that such
// markup writes for its own characters (&amp; &lt; &gt; &quot; &apos;
// &nbsp;) written as those characters. Every '<' then left becomes
// kTextAngle.
std::string without_markup(std::string_view text);

// The other way: `text` written so that without_markup gives it back as to
// its entities: an '&' that would begin one of them is written "&amp;".
std::string with_entities_kept(std::string_view text);

}  // namespace lyro
