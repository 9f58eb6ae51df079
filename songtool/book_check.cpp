// Finding the songbook's traps; see book_check.h.
#include "songtool/book_check.h"

#include <map>
#include <unordered_map>

#include "library/catalog.h"
#include "library/current_song.h"
#include "library/title_ops.h"
#include "songtool/book_songs.h"

namespace lyro {

namespace {

using Traps = std::multimap<std::size_t, std::string>;  // by line

void check_song_lines(const BookSong& song, Traps& traps) {
    for (const ReadLine& line : song.body) {
        if (line.text.size() > kSongLineMax) {
            traps.emplace(line.number, "a line of " + std::to_string(line.text.size()) +
                                           " characters: the viewer shows only its first " +
                                           std::to_string(kSongLineMax));
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
    return check_book(Songbook(std::string(book_bytes)));
}

std::vector<std::string> check_book(const Songbook& songbook) {
    const BookSongs book = find_book_songs(songbook);
    std::unordered_map<std::string, std::size_t> first_of_title;
    Traps traps;
    for (const BookSong& song : book.songs) check_song(song, book.end_marker_line, first_of_title, traps);
    std::vector<std::string> out;
    for (const auto& [line, text] : traps) out.push_back("line " + std::to_string(line) + ": " + text);
    return out;
}

}  // namespace lyro
