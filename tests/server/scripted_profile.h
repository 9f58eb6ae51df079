// A profile in memory for the server's unit tests that changes as the
// server reads TERMINATE, the way a user or songdesk changes WIN.INI
// between two connections: before a chosen read its text is replaced, or a
// step of the test runs.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/profile_store.h"
#include "tests/platform/memory_profile.h"

namespace lyro::test {

class ScriptedProfile final : public ProfileStore {
public:
    // Before read number `n` of TERMINATE (counted from 1) the text
    // becomes `text`.
    void before_read(int n, std::string text) { texts_[n] = std::move(text); }
    // Read number `n` finds TERMINATE=1.
    void stop_at_read(int n) { before_read(n, "[LYROVANT]\r\nTERMINATE=1\r\n"); }
    // Runs before every read of TERMINATE, with its number.
    std::function<void(int)> on_read;

    int reads() const { return reads_; }

    int read_int(std::string_view key, int fallback) const override {
        if (key == kTerminateKey) {
            ++reads_;
            if (on_read) on_read(reads_);
            if (auto it = texts_.find(reads_); it != texts_.end()) memory.set_text(it->second);
        }
        return memory.read_int(key, fallback);
    }
    bool write_string(std::string_view key, std::string_view value) override {
        return memory.write_string(key, value);
    }

    mutable MemoryProfile memory;

private:
    std::map<int, std::string> texts_;
    mutable int reads_ = 0;
};

}  // namespace lyro::test
