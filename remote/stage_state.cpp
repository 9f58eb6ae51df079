// Building and writing the stage view's state; see stage_state.h.
#include "remote/stage_state.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "library/book_charset.h"
#include "library/title_ops.h"
#include "transpose/transpose_song.h"

namespace lyro {

namespace {

using Json = nlohmann::ordered_json;

std::vector<StageEntry> stage_set(const PerfList& list) {
    std::vector<StageEntry> set;
    const int length = std::clamp(list.length, 0, kListPlaces);
    for (int i = 0; i < length; ++i) {
        const ListEntry& entry = list.entries[static_cast<std::size_t>(i)];
        set.push_back({entry.title, entry.key_change});
    }
    return set;
}

Json text(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

Json optional_int(const std::optional<int>& value) {
    return value ? Json(*value) : Json(nullptr);
}

void put_song(Json& j, const StageState& state) {
    j["title"] = text(state.title);
    j["offset"] = state.offset;
    j["key"] = state.key ? text(*state.key) : Json(nullptr);
    Json lines = Json::array();
    for (const StageLine& line : state.lines)
        lines.push_back(Json{{"text", text(line.text)}, {"kind", line.kind}});
    j["lines"] = std::move(lines);
}

void put_set(Json& j, const StageState& state) {
    Json set = Json::array();
    for (const StageEntry& entry : state.set)
        set.push_back(Json{{"title", text(entry.title)}, {"change", entry.change}});
    j["set"] = std::move(set);
    j["at"] = optional_int(state.at);
}

}  // namespace

std::string_view line_kind(std::string_view raw) {
    if (raw.find('<') != std::string_view::npos) return kChordKind;
    if (holds(raw, kLabelMark)) return kLabelKind;
    return kLyricKind;
}

StageState song_stage(const CurrentSong& song, const ViewPosition& position,
                      const PerfList& list, Spelling spelling) {
    StageState state;
    state.song = true;
    state.title = song.title;
    state.offset = position.key_offset;
    state.key = transpose_key(song.header_key, position.key_offset,
                              names_for(song, position.key_offset, spelling));
    const std::size_t count = std::min({song.line_count, song.raw.size(), song.display.size()});
    state.lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        state.lines.push_back({song.display[i], line_kind(song.raw[i])});
    state.set = stage_set(list);
    // Only a running list has an entry on stage; a reviewed song has none.
    if (position.single_song_mode == 0 && entry_at(list, position.list_position))
        state.at = position.list_position;
    return state;
}

StageState list_stage(std::vector<std::string> songs, const PerfList& list) {
    StageState state;
    state.songs = std::move(songs);
    // Headers written by songdesk leave a blank after the title; on a
    // stage it would only shift the title.
    for (std::string& title : state.songs)
        title.erase(title.find_last_not_of(' ') + 1);
    state.set = stage_set(list);
    return state;
}

std::string stage_json(const StageState& state, std::uint64_t seq) {
    Json j;
    j["seq"] = seq;
    j["showing"] = state.song ? "song" : "list";
    if (state.song) {
        put_song(j, state);
    } else {
        Json songs = Json::array();
        for (const std::string& title : state.songs) songs.push_back(text(title));
        j["songs"] = std::move(songs);
    }
    put_set(j, state);
    // Every text came through the Windows-1252 conversion, so the output
    // is valid UTF-8; "replace" only guards against a future caller.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace lyro
