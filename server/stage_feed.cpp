// Watching stage.json and framing its states; see stage_feed.h.
#include "server/stage_feed.h"

#include <charconv>

#include "platform/shared_reading.h"

namespace lyro {

std::optional<std::uint64_t> leading_seq(std::string_view state) {
    // {"seq":N, with the blanks that a hand-written or pretty-printed
    // state may put between the pieces.
    const auto skip_blanks = [&state] {
        while (!state.empty() && (state.front() == ' ' || state.front() == '\t' ||
                                  state.front() == '\r' || state.front() == '\n'))
            state.remove_prefix(1);
    };
    const auto take = [&state, &skip_blanks](std::string_view piece) {
        skip_blanks();
        if (state.substr(0, piece.size()) != piece) return false;
        state.remove_prefix(piece.size());
        return true;
    };
    if (!take("{") || !take("\"seq\"") || !take(":")) return std::nullopt;
    skip_blanks();
    std::uint64_t seq = 0;
    const auto [end, ec] = std::from_chars(state.data(), state.data() + state.size(), seq);
    if (ec != std::errc() || end == state.data()) return std::nullopt;
    return seq;
}

std::string stage_event(std::string_view state) {
    std::string event;
    event.reserve(state.size() + 64);
    if (const auto seq = leading_seq(state)) event.append("id: ").append(std::to_string(*seq)) += '\n';
    // The file's own last line end ends nothing but the file.
    if (state.ends_with('\n')) state.remove_suffix(1);
    if (state.ends_with('\r')) state.remove_suffix(1);
    // A line end inside the data would end the field: every line of the
    // file goes out as a data line of its own, and the browser joins them
    // with line feeds again.
    for (;;) {
        const std::size_t lf = state.find('\n');
        std::string_view line = state.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        event.append("data: ").append(line) += '\n';
        if (lf == std::string_view::npos) break;
        state.remove_prefix(lf + 1);
    }
    event += '\n';
    return event;
}

bool StageFeed::read_state(std::string& bytes) const {
    CFile f = open_for_shared_reading(path_);
    if (!f) return false;
    // Read in blocks up to one past the limit: a file that grows while it
    // is read is caught as well.
    char block[64 * 1024];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, f.get())) > 0) {
        bytes.append(block, n);
        if (bytes.size() > max_bytes_) return false;
    }
    return !std::ferror(f.get());
}

bool StageFeed::refresh() {
    constexpr auto kUnsure = std::chrono::milliseconds(100);
    const auto clock_now = std::chrono::steady_clock::now();
    const FileStamp now = file_stamp(path_);
    // A file missing for the moment (being replaced, on some systems) is
    // looked at again next time, as is one that could not be read.
    if (!now.exists) return false;
    if (now == seen_ && clock_now - changed_at_ >= kUnsure) return false;
    if (!(now == seen_)) changed_at_ = clock_now;
    if (now.size == 0 || now.size > max_bytes_) {
        seen_ = now;
        return false;
    }
    std::string bytes;
    if (!read_state(bytes)) return false;
    seen_ = now;
    if (bytes.empty() || bytes == state_) return false;
    event_ = std::make_shared<const std::string>(stage_event(bytes));
    state_ = std::move(bytes);
    ++version_;
    return true;
}

}  // namespace lyro
