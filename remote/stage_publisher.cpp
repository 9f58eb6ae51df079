// Writing stage.json; see stage_publisher.h.
#include "remote/stage_publisher.h"

#include <nlohmann/json.hpp>

#include "platform/whole_file.h"
#include "remote/page_file.h"

namespace lyro {

namespace {

// The seq of the file that an earlier run left, so that seq keeps growing
// across runs of songdesk and no browser takes a new state for an old one.
std::uint64_t seq_left_at(const std::string& path) {
    std::string bytes;
    if (!read_whole_file(path, bytes)) return 0;
    const auto json = nlohmann::json::parse(bytes, nullptr, false);
    if (!json.is_object()) return 0;
    const auto seq = json.find("seq");
    if (seq == json.end() || !seq->is_number_unsigned()) return 0;
    // Browsers hold numbers exactly only up to 2^53: a seq beyond that,
    // which no real run reaches, starts again from 0.
    const auto value = seq->get<std::uint64_t>();
    return value < (std::uint64_t{1} << 52) ? value : 0;
}

}  // namespace

bool StagePublisher::publish(const std::string& path, const StageState& state) {
    if (!seq_known_ || path != path_) {
        seq_ = seq_left_at(path);
        seq_known_ = true;
        last_.clear();
        path_ = path;
    }
    // Compared without the seq, which differs by design.
    std::string body = stage_json(state, 0);
    if (body == last_) return false;
    if (!publish_file(path, stage_json(state, seq_ + 1))) return false;
    ++seq_;
    last_ = std::move(body);
    return true;
}

}  // namespace lyro
