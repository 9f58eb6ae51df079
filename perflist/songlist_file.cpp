// The songlist file's save and load, with their questions and notices.
#include "platform/c_file.h"
#include "perflist/songlist_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "library/songbook.h"
#include "perflist/list_sync.h"
#include "perflist/songlist_text.h"
#include "platform/durable_file.h"
#include "platform/whole_file.h"

namespace lyro {

namespace {

using FileHandle = CFile;

bool exists_for_reading(const std::string& path) {
    return FileHandle(std::fopen(path.c_str(), "rb")) != nullptr;
}

// The new file is complete on disk before it replaces the old one; until
// then the old one is untouched.
bool write_in_place_of(const std::string& path, const std::string& text) {
    const std::string temp = path + ".new";
    if (write_file_durably(temp, text) && replace_file(temp, path)) return true;
    // What a failed write left behind; anything else of that name (a
    // folder that kept the file from being made) is not ours to remove.
    std::error_code ec;
    if (std::filesystem::is_regular_file(temp, ec)) std::remove(temp.c_str());
    return false;
}

}  // namespace

bool save_songlist(PerfList& list, ListBox& box, Prompter& prompter, const DataFiles& files) {
    list.changed = false;
    const std::string path = files.songlist();
    if (exists_for_reading(path) &&
        !prompter.ask("There appears to already be a saved list\rDo you wish to write over it?",
                      "Rewrite Song List"))
        return false;

    if (take_in_list_box(list, box) > kListPlaces)
        prompter.notify("Warning, 32 Songs Maximum - remainder truncated", "SAVE SONGLIST");
    if (!write_in_place_of(path, songlist_text(list))) {
        prompter.notify("Could Not Save Songlist", "SAVE SONGLIST");
        return false;
    }
    return true;
}

bool load_songlist(PerfList& list, ListBox& box, Prompter& prompter, Beeper& beeper,
                   const DataFiles& files) {
    if (list.length != 0 && !prompter.ask("Are you sure?", "Load Song list")) return false;

    std::string bytes;
    list.length = 0;
    if (!read_whole_file(files.songlist(), bytes)) {
        prompter.notify("Could Not Load Songlist", "LOAD SONGLIST");
        return false;
    }
    box.reset();
    for (ListEntry& entry : list.entries) entry.key_change = 0;

    // The songlist has the songbook's line rules: its cut beeps too.
    SonglistReading reading{list, box};
    const Songbook lines(std::move(bytes));
    for (const BookLine& line : lines.lines()) {
        if (line.cut) beeper.beep();
        if (line.visible()) read_songlist_line(line.text, reading);
    }
    return true;
}

}  // namespace lyro
