// Publishes the stage view's state as stage.json beside the remote page,
// written whole and put in place in one step. A state equal to the last one
// published is not written again: scrolling, magnifying or uncovering the
// viewer repaints it, but changes nothing that the stage shows, and every
// write would wake every tablet.
#pragma once

#include <cstdint>
#include <string>

#include "remote/stage_state.h"

namespace lyro {

class StagePublisher {
public:
    // Writes `state` to `path` unless it is the state last written there.
    // True when a new file was put in place.
    bool publish(const std::string& path, const StageState& state);

    // The seq of the last state written; 0 before the first.
    std::uint64_t seq() const { return seq_; }

private:
    std::string path_;   // where the last state went
    std::string last_;   // its JSON without the seq
    std::uint64_t seq_ = 0;
    bool seq_known_ = false;
};

}  // namespace lyro
