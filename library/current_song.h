// The song that the viewer shows, the printouts print and the remote page
// publishes: its title, its raw lines as stored, and the display lines that
// the transposition rebuilds from them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lyro {

inline constexpr std::size_t kTitleMax = 99;       // current title
inline constexpr std::size_t kSongLineMax = 100;   // a raw line as loaded
inline constexpr std::size_t kDisplaySlots = 200;  // display lines kept at least

struct CurrentSong {
    // Set by the caller before a load; a load leaves it folded.
    std::string title;
    // What the song's header names after "KEY=", as written (empty when it
    // names nothing); set by every load.
    std::string header_key;
    // Lines in use, line 0 included. raw and display hold at least this many.
    std::size_t line_count = 0;
    // raw[0] is a single blank after every load; raw[1..] the song's body.
    std::vector<std::string> raw;
    // Rebuilt from raw by the transposition; never fewer than kDisplaySlots.
    std::vector<std::string> display = std::vector<std::string>(kDisplaySlots);
};

}  // namespace lyro
