// Telling song files apart; see song_file.h.
#include "songtool/chordpro/song_file.h"

#include <algorithm>

#include "songtool/chordpro/chord_sheet.h"
#include "songtool/chordpro/chordpro_import.h"
#include "songtool/chordpro/song_builder.h"
#include "songtool/chordpro/text_decoding.h"
#include "transpose/chord_rule.h"

namespace lyro {

namespace {

bool is_directive(std::string_view line) {
    const std::string_view t = trimmed(line);
    if (t.size() < 3 || t.front() != '{' || t.back() != '}') return false;
    const char first = t[1];
    return (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
}

// A "[G]" in the line: ChordPro's inline chord.
bool holds_bracketed_chord(std::string_view line) {
    for (std::size_t open = line.find('['); open != std::string_view::npos;
         open = line.find('[', open + 1)) {
        const std::size_t close = line.find_first_of("[]", open + 1);
        if (close == std::string_view::npos) return false;
        if (line[close] == ']' && is_chord(line.substr(open + 1, close - open - 1))) return true;
    }
    return false;
}

// OpenSong and OpenLyrics files: XML, whatever their name says.
bool is_xml_song(std::string_view text) {
    const std::size_t from = text.find_first_not_of(" \t\r\n");
    if (from == std::string_view::npos) return false;
    return text.substr(from).starts_with("<?xml") || text.substr(from).starts_with("<song");
}

bool chordpro_name(std::string_view path) {
    const std::string name = lower_ascii(path.substr(std::min(path.find_last_of("/\\") + 1, path.size())));
    for (std::string_view ext : {".cho", ".chopro", ".chordpro", ".pro"}) {
        if (name.ends_with(ext)) return true;
    }
    return false;
}

// The 1-based line of the first control character that no text file holds
// (tabs and line ends aside), or 0.
std::size_t binary_line(std::string_view text) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++line;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return line;
    }
    return 0;
}

}  // namespace

std::string file_title(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

bool reads_as_chordpro(std::string_view text) {
    for (std::string_view line : file_lines(text)) {
        if (is_directive(line) || holds_bracketed_chord(line)) return true;
    }
    return false;
}

std::vector<ImportOutcome> import_song_file(std::string_view file_bytes, std::string_view path) {
    const Cp1252Text text = decode_to_cp1252(file_bytes);
    const std::string fallback = decode_to_cp1252(file_title(path)).bytes;
    if (const std::size_t line = binary_line(text.bytes)) {
        return {ImportRefusal{line, "it holds control characters: this is not a text file", ""}};
    }
    if (is_xml_song(text.bytes)) {
        return {ImportRefusal{0, "an XML song file; this format cannot be imported yet", ""}};
    }
    if (!chordpro_name(path) && !reads_as_chordpro(text.bytes)) {
        return {import_chord_sheet(text, fallback)};
    }
    std::vector<ImportOutcome> songs = import_chordpro_songs(text, fallback);
    if (songs.empty()) songs.push_back(ImportRefusal{0, "it holds no lyric or chord lines", ""});
    return songs;
}

}  // namespace lyro
