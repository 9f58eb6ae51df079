// Finding the songbook's traps; see book_check.h.
#include "songtool/book_check.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "library/catalog.h"
#include "library/current_song.h"
#include "library/title_ops.h"
#include "songtool/book_songs.h"

namespace lyro {

namespace {

using Traps = std::multimap<std::size_t, std::string>;  // by line

bool note_letter(char c) { return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g'); }

// The first chord on a chord line whose root can grow by a character (a
// root without a sharp or flat: A becomes Bb one half step up) while the
// next chord stands one blank after it: transposed, the grown chord writes
// over the next one's first character. The chord, or "" for none. Chords
// are found as the transposition finds them.
std::string colliding_chord(std::string line) {
    std::replace(line.begin(), line.end(), '<', ' ');
    const std::size_t length = line.size();
    for (std::size_t p = 0; p < length;) {
        if (!note_letter(line[p])) {
            ++p;
            continue;
        }
        std::size_t n = line.find(' ', p);
        n = (n == std::string::npos ? length : n) - p;
        if (n >= 10) n = 1;
        const char second = n > 1 ? line[p + 1] : ' ';
        const bool accidental =
            second == 'B' || second == '#' || (second == 'b' && line.compare(p + 1, 3, "bas") != 0);
        if (!accidental && p + n + 1 < length && line[p + n] == ' ' && line[p + n + 1] != ' ') {
            return line.substr(p, n);
        }
        p += n + 1;
    }
    return "";
}

void check_song_lines(const BookSong& song, Traps& traps) {
    for (const ReadLine& line : song.body) {
        if (line.text.size() > kSongLineMax) {
            traps.emplace(line.number, "a line of " + std::to_string(line.text.size()) +
                                           " characters: the viewer shows only its first " +
                                           std::to_string(kSongLineMax));
        }
        if (line.text.find('<') == std::string::npos) continue;
        if (const std::string chord = colliding_chord(line.text); !chord.empty()) {
            traps.emplace(line.number, "chords one blank apart after \"" + chord +
                                           "\": transposed so that its root grows (A to Bb), it "
                                           "overwrites the next chord's first letter");
        }
    }
}

void check_song(const BookSong& song, std::size_t end_marker_line,
                std::unordered_map<std::string, std::size_t>& first_of_title, Traps& traps) {
    const std::string quoted = "\"" + song.title + "\"";
    if (song.after_end_marker) {
        traps.emplace(song.header_line, quoted + " stands after the end marker \"#*#*#\" of line " +
                                            std::to_string(end_marker_line) +
                                            ": it is never listed or shown");
        return;
    }
    const auto [first, is_first] = first_of_title.try_emplace(folded(song.title), song.header_line);
    if (!is_first) {
        traps.emplace(song.header_line, quoted + " is a second song of the title of line " +
                                            std::to_string(first->second) +
                                            ": only the first is ever shown");
    }
    if (song.title.size() > kCatalogTitleMax) {
        traps.emplace(song.header_line,
                      quoted + " is " + std::to_string(song.title.size()) +
                          " characters long: picked from the song box it is cut to " +
                          std::to_string(kCatalogTitleMax) + " and not found");
    }
    check_song_lines(song, traps);
}

}  // namespace

std::vector<std::string> check_book(std::string_view book_bytes) {
    const BookSongs book = find_book_songs(book_bytes);
    std::unordered_map<std::string, std::size_t> first_of_title;
    Traps traps;
    for (const BookSong& song : book.songs) check_song(song, book.end_marker_line, first_of_title, traps);
    std::vector<std::string> out;
    for (const auto& [line, text] : traps) out.push_back("line " + std::to_string(line) + ": " + text);
    return out;
}

}  // namespace lyro
