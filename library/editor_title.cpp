// The stored title and key of a song; see editor_title.h.
#include "library/editor_title.h"

#include "library/title_ops.h"

namespace lyro {

namespace {

std::optional<std::string_view> found_header(const Songbook& book, std::string_view title) {
    const auto song = book.find(title);
    if (!song) return std::nullopt;
    return book.lines()[song->header].physical_text();
}

}  // namespace

std::optional<std::string> stored_song_title(const Songbook& book, std::string_view title) {
    const auto header = found_header(book, title);
    if (!header) return std::nullopt;
    std::string_view stored = header_title(*header);
    if (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
    return std::string(stored);
}

std::string stored_song_key(const Songbook& book, std::string_view title) {
    const auto header = found_header(book, title);
    const std::string_view key = header ? header_key(*header) : std::string_view{};
    return key == "xx" ? std::string() : std::string(key);
}

}  // namespace lyro
