// A profile section held in memory for tests, read and written with the
// same INI rules as the file on disk. Safe to use from a server thread and
// the test's thread at once; it keeps a log of every write.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_text.h"
#include "platform/profile_store.h"

namespace lyro::test {

class MemoryProfile final : public ProfileStore {
public:
    explicit MemoryProfile(std::string text = {}) : text_(std::move(text)) {}

    int read_int(std::string_view key, int fallback) const override {
        std::lock_guard lock(mutex_);
        return profile_int(ini_value(text_, kProfileSection, key), fallback);
    }

    bool write_string(std::string_view key, std::string_view value) override {
        if (!is_ini_name(key) || !is_ini_value(value)) return false;
        std::lock_guard lock(mutex_);
        text_ = ini_with_value(text_, kProfileSection, key, value);
        writes_.push_back(std::string(key) + "=" + std::string(value));
        return true;
    }

    // Replaces the whole profile text, as an outside editor would.
    void set_text(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }

    std::string text() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

    // "KEY=value" for every write, in order.
    std::vector<std::string> writes() const {
        std::lock_guard lock(mutex_);
        return writes_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
    std::vector<std::string> writes_;
};

}  // namespace lyro::test
