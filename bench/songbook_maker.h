// The benchmarks' songbook: 2,000 songs of 40 lines (about 2.5 MB), written
// as the editor writes songs, chord and lyric lines in turn, with a label
// line every 100 songs and every 50th song hidden, as real songbooks have
// them. The reading and the saving benchmark measure the same file.
#pragma once

#include <string>

namespace bench {

inline constexpr int kSongs = 2000;
inline constexpr int kLinesPerSong = 40;  // the header included

inline const char* const kChords[] = {"G       D/F#     Em      C       < ",
                                      "Am7   D    G  < ", "C    G/B   Am    F  < "};
inline const char* const kWords[] = {"Amazing grace how sweet the sound ",
                                     "that saved a wretch like me, like me ",
                                     "I once was lost but now am found "};

// Every 50th song is hidden: its title starts with '/'.
inline std::string song_title(int i) {
    std::string title = (i % 50 == 49) ? "/" : "";
    title += "Song number ";
    title += std::to_string(i);
    title += " of the book";
    return title;
}

// Body line `line` (2 .. kLinesPerSong - 1) of every song, without its line end.
inline const char* body_line(int line) {
    return (line % 2 == 0) ? kChords[line % 3] : kWords[line % 3];
}

inline std::string make_songbook(int songs = kSongs) {
    std::string book = "Songbook for the benchmark\r\n";
    for (int i = 0; i < songs; ++i) {
        // Appended piece by piece: "literal" + std::string sets off a false
        // overlap warning in some compilers.
        if (i % 100 == 0) {
            book += "***** Part ";
            book += std::to_string(i / 100);
            book += " *****\r\n";
        }
        book += "::::: ";
        book += song_title(i);
        book += " ::::: KEY=xx\r\n \r\n";
        for (int line = 2; line < kLinesPerSong; ++line) {
            book += body_line(line);
            book += "\r\n";
        }
    }
    return book;
}

}  // namespace bench
