// The text of a rewritten songbook, kept as runs of the old file that stay
// byte for byte and text of its own in between: a save then copies the
// file's bulk only once, on its way to the disk.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_rotation.h"

namespace lyro {

// `old_book` must outlive the output, which points into it.
class BookOutput {
public:
    explicit BookOutput(std::string_view old_book) : old_(old_book) {}

    // `text` and then `line_end` (CR LF or nothing) as the new book goes on.
    void copy(std::string_view text, std::string_view line_end) {
        if (stands_in_old(text, line_end)) {
            extend_old_run(std::string_view(text.data(), text.size() + line_end.size()));
        } else {
            add(text);
            add(line_end);
        }
    }

    void add(std::string_view text) {
        if (text.empty()) return;
        if (!last_is_own_) {
            own_.emplace_back();
            parts_.emplace_back();
            last_is_own_ = true;
        }
        own_.back() += text;
        parts_.back() = own_.back();
    }

    TextParts parts() const { return parts_; }

private:
    // Whether `text` followed by `line_end` are the very bytes of the old book.
    bool stands_in_old(std::string_view text, std::string_view line_end) const {
        const char* end = old_.data() + old_.size();
        const char* after = text.data() + text.size();
        const std::less<const char*> before;  // a total order, also for other buffers
        if (before(text.data(), old_.data()) || before(end, after)) return false;
        const auto room = static_cast<std::size_t>(end - after);
        return std::string_view(after, std::min(line_end.size(), room)) == line_end;
    }

    void extend_old_run(std::string_view run) {
        if (!last_is_own_ && !parts_.empty() && parts_.back().data() + parts_.back().size() == run.data()) {
            parts_.back() = std::string_view(parts_.back().data(), parts_.back().size() + run.size());
        } else {
            parts_.push_back(run);
        }
        last_is_own_ = false;
    }

    std::string_view old_;
    std::vector<std::string_view> parts_;
    std::deque<std::string> own_;  // a deque keeps the texts in their place
    bool last_is_own_ = false;
};

}  // namespace lyro
