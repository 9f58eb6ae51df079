// The states that songdesk publishes in stage.json, as the stage view's
// event stream sends them. The file's bytes are forwarded as they are, not
// parsed: only its opening {"seq":N is read, for the event's id. A state
// that is missing, empty, unreadable or too large sends nothing new, so
// the browsers keep the last good one.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_stamp.h"

namespace lyro {

// One Server-Sent Events message carrying `state`: "id: <seq>" when the
// state begins with {"seq":<digits> (blanks allowed between), then one "data: " line for each of its
// lines (a CR before a line end is dropped), then an empty line.
std::string stage_event(std::string_view state);

// The seq at the start of a state, read without parsing the rest.
std::optional<std::uint64_t> leading_seq(std::string_view state);

class StageFeed {
public:
    StageFeed(std::string path, std::size_t max_bytes)
        : path_(std::move(path)), max_bytes_(max_bytes) {}

    // Looks whether the file was replaced or written since the last look
    // and, if so, reads it. True when it holds a new state. A file written
    // in place (not replaced) within the time's coarse steps keeps its
    // stamp: for a short while after a change it is read at every look.
    bool refresh();

    // The current state's event; null before the first good state.
    std::shared_ptr<const std::string> event() const { return event_; }
    // Grows by one with every new state; 0 before the first.
    std::uint64_t version() const { return version_; }

private:
    bool read_state(std::string& bytes) const;

    std::string path_;
    std::size_t max_bytes_;
    FileStamp seen_;
    std::chrono::steady_clock::time_point changed_at_{};
    std::string state_;  // the bytes of the current state
    std::shared_ptr<const std::string> event_;
    std::uint64_t version_ = 0;
};

}  // namespace lyro
