// The songlist file: its lines written and read, and its save and load.
#include "perflist/songlist_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "library/songbook.h"
#include "library/title_ops.h"
#include "platform/c_file.h"
#include "platform/durable_file.h"
#include "platform/whole_file.h"

namespace lyro {

// Writing and reading the lines of the songlist file.
namespace {

constexpr std::string_view kSongTag = "SONG";
constexpr std::string_view kKeyTag = "KEYCHANGE";
// Where the title and the key change start when the number has two digits.
constexpr std::size_t kTitleColumn = 7;
constexpr std::size_t kKeyColumn = 12;

std::string two_digits(int n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", n);
    return digits;
}

bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view from(std::string_view line, std::size_t column) {
    return column < line.size() ? line.substr(column) : std::string_view{};
}

bool names_a_place(int n) { return n >= 0 && n <= kListPlaces; }

ListEntry& place(PerfList& list, int n) { return list.entries[static_cast<std::size_t>(n - 1)]; }

void read_song_line(std::string_view line, SonglistReading& r) {
    const int n = leading_int(from(line, kSongTag.size())).value_or(1);
    if (!names_a_place(n)) return;
    r.number = n;
    if (n == 0) return;

    std::string_view text = from(line, kTitleColumn);
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::string title = list_title(text);
    fold_title(title);
    r.box.add(title);
    place(r.list, n).title = std::move(title);
    r.list.length = std::max(r.list.length, n);
}

void read_key_line(std::string_view line, SonglistReading& r) {
    if (const auto n = leading_int(from(line, kKeyTag.size()))) {
        if (!names_a_place(*n)) return;
        r.number = *n;
    }
    if (r.number == 0) return;
    if (const auto key = leading_int(from(line, kKeyColumn)))
        place(r.list, r.number).key_change = *key;
}

}  // namespace

std::string songlist_text(const PerfList& list) {
    std::string text = ";SONG LIST FILE";
    text += kLineEnd;
    const int length = std::clamp(list.length, 0, kListPlaces);
    for (int i = 0; i < length; ++i) {
        const ListEntry& entry = list.entries[static_cast<std::size_t>(i)];
        const std::string number = two_digits(i + 1);
        text.append(kSongTag).append(number).append("=").append(entry.title).append(kLineEnd);
        text.append(kKeyTag).append(number).append("=").append(std::to_string(entry.key_change));
        text.append(kLineEnd);
    }
    text += ";END";
    return text;
}

std::optional<int> leading_int(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !is_digit(text[i])) return std::nullopt;

    // Past this bound the value is out of int's range whatever follows.
    constexpr long long kBeyond = 1LL << 32;
    long long value = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        if (value < kBeyond) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void read_songlist_line(std::string_view line, SonglistReading& reading) {
    line = line.substr(0, line.find('\0'));
    if (line.starts_with(kSongTag)) {
        read_song_line(line, reading);
    } else if (line.starts_with(kKeyTag)) {
        read_key_line(line, reading);
    }
}

// The songlist file's save and load, with their questions and notices.
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
