// The content of a new songbook; see new_songbook.h.
#include "library/new_songbook.h"

#include <array>

#include "library/file_rotation.h"
#include "library/song_body.h"

namespace lyro {

namespace {

// The example song's body, each line ending in the one blank that every
// stored body line has. Chord lines name their chords in small letters
// and end with the last chord and '<'.
constexpr std::array<std::string_view, 19> kExampleBody = {
    "                  g       c          g<",           //  1 chord, 18 blanks
    "          Morning comes across the water",           //  2 lyric, 10 blanks
    "                  em      am         d<",           //  3
    "          Light upon the harbour wall",              //  4
    "                  g       c          g<",           //  5
    "          Nets are mended, sails are lifted",        //  6
    "                  c       d          g<",           //  7
    "          Home is where the gulls call",             //  8
    "",                                                   //  9 a single blank
    "          Sing it low across the morning",           // 10 lyric lines
    "          Sing it high above the tide",              // 11
    "          Every voice a lantern burning",            // 12
    "          Every shore a place to bide",              // 13
    "          ",                                         // 14 eleven blanks
    "                   c         g<",                    // 15 chord, 19 blanks
    "          Morning light, carry me over",             // 16 lyric, 10 blanks
    "                   d         g<",                    // 17 chord, 19 blanks
    "                  carry me home",                    // 18 lyric, 18 blanks
    "          ",                                         // 19 eleven blanks
};

}  // namespace

std::string new_songbook_text() {
    std::string text;
    auto line = [&text](std::string_view s) {
        text += s;
        text += kLineEnd;
    };
    line("; Songbook of songdesk. Lines that start with a semicolon are notes that the program ignores.");
    line("; Free to use, copy and share, at your own risk and without any warranty.");
    line("Example Song:");
    line("::::: Morning Harbour :::::");
    for (std::string_view body_line : kExampleBody) {
        text += body_line;
        text += ' ';
        text += kLineEnd;
    }
    return text;
}

CreateResult create_songbook(SaveFiles& files, const DataFiles& paths) {
    if (files.exists(paths.songbook())) return CreateResult::already_exists;
    if (create_whole(files, paths.temp(), paths.songbook(), new_songbook_text())) {
        return CreateResult::created;
    }
    return files.exists(paths.songbook()) ? CreateResult::already_exists : CreateResult::not_written;
}

std::string_view create_message(CreateResult result) {
    switch (result) {
        case CreateResult::created:
            return "";
        case CreateResult::already_exists:
            return "A songbook file SONGBOOK.LYR is already there; it was left as it is.";
        case CreateResult::not_written:
            return "The songbook file SONGBOOK.LYR could not be created\r"
                   "(the folder may be write-protected or the disk full).";
    }
    return "";
}

}  // namespace lyro
