// Songs out as ChordPro; see chordpro_export.h.
#include "songtool/chordpro/chordpro_export.h"

#include "platform/whole_file.h"
#include "songtool/chordpro/chord_placement.h"
#include "songtool/chordpro/markup.h"
#include "songtool/chordpro/text_decoding.h"

namespace lyro {

namespace {

bool is_chord_line(std::string_view line) { return line.find('<') != std::string_view::npos; }

bool blank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

// The body without what the song editor's writer adds: the single-blank
// first line and one blank at the end of every line.
std::vector<std::string_view> editor_lines(const std::vector<std::string>& body) {
    std::vector<std::string_view> lines;
    const std::size_t first = !body.empty() && body.front() == " " ? 1 : 0;
    for (std::size_t i = first; i < body.size(); ++i) {
        std::string_view line = body[i];
        if (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

bool holds_bracket(std::string_view line) { return line.find('[') != std::string_view::npos; }

// A line that ChordPro would read as a comment or a directive keeps its
// meaning behind an empty chord, which readers pass over; text that would
// read as an entity ("&nbsp;" in a lyric) keeps its '&'.
std::string guarded(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    const bool looks_special =
        first != std::string_view::npos && (line[first] == '#' || line[first] == '{');
    const std::string text = with_entities_kept(line);
    return looks_special ? "[]" + text : text;
}

// A lyric line as ChordPro. One that holds '[' (a tab, say) goes into a
// tab section, which is copied as it stands, so that no chord is read into
// it.
std::string lyric_line(std::string_view line) {
    if (!holds_bracket(line)) return guarded(line);
    std::string out = "{start_of_tab}";
    out += kLineEnd;
    out += line;
    out += kLineEnd;
    out += "{end_of_tab}";
    return out;
}

}  // namespace

std::string export_chordpro(std::string_view title, std::string_view key,
                            const std::vector<std::string>& body) {
    std::string text = "{title: " + with_entities_kept(title) + "}" + std::string(kLineEnd);
    if (!key.empty()) text += "{key: " + with_entities_kept(key) + "}" + std::string(kLineEnd);
    const std::vector<std::string_view> lines = editor_lines(body);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!is_chord_line(lines[i])) {
            text += lyric_line(lines[i]);
        } else if (i + 1 < lines.size() && !is_chord_line(lines[i + 1]) && !blank(lines[i + 1]) &&
                   !holds_bracket(lines[i + 1])) {
            text += guarded(inline_chords(lines[i], lines[i + 1]));
            ++i;
        } else {
            text += guarded(inline_chords(lines[i], ""));
        }
        text += kLineEnd;
    }
    return cp1252_to_utf8(text);
}

}  // namespace lyro
