// What songdesk shows, as data for the stage view that tablets and phones
// follow: the song with its lines told apart (chords, labels, lyrics), or
// the song list, and always the performance list with the entry being
// played. Songbook text is Windows-1252; the state is published as UTF-8
// JSON, with "seq" first so that a reader can find it without parsing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/current_song.h"
#include "perflist/perf_list.h"
#include "transpose/transpose_song.h"
#include "view/view_position.h"

namespace lyro {

inline constexpr std::string_view kChordKind = "chord";
inline constexpr std::string_view kLabelKind = "label";
inline constexpr std::string_view kLyricKind = "lyric";

struct StageLine {
    std::string text;       // as the viewer shows it, transposed
    std::string_view kind;  // kChordKind, kLabelKind or kLyricKind
};

struct StageEntry {
    std::string title;
    int change = 0;  // the entry's key change, in half steps
};

struct StageState {
    bool song = false;  // a song is shown; else the song list
    // The song.
    std::string title;
    int offset = 0;
    std::optional<std::string> key;  // the song's key after the offset, if it names one
    std::vector<StageLine> lines;
    // The song list, in the list page's order.
    std::vector<std::string> songs;
    // Always: the performance list, and the entry shown while it runs.
    std::vector<StageEntry> set;
    std::optional<int> at;
};

// What a raw song line is: a chord line (it holds '<', so the viewer
// transposes it), a label line (it holds "*****"), or a lyric line.
std::string_view line_kind(std::string_view raw);

// The state while the viewer shows `song`, whose display lines have just
// been rebuilt for `position.key_offset`.
// The key is spelled as the chords are.
StageState song_stage(const CurrentSong& song, const ViewPosition& position,
                      const PerfList& list, Spelling spelling = Spelling::fixed);

// The state while the library shows `songs` (the titles of the list page,
// trailing blanks left out).
StageState list_stage(std::vector<std::string> songs, const PerfList& list);

// The state as one line of UTF-8 JSON, "seq" its first member.
std::string stage_json(const StageState& state, std::uint64_t seq);

}  // namespace lyro
