// A profile section kept in a WIN.INI-style file on disk: the native
// songserv's profile (the Wine prefix's WIN.INI), and the tests' scratch
// profiles. Every read takes the file as it is on disk now, so writes by
// other processes are seen at once.
#pragma once

#include <string>
#include <string_view>

#include "platform/profile_store.h"

namespace lyro {

class IniFileProfile final : public ProfileStore {
public:
    IniFileProfile(std::string path, std::string_view section)
        : path_(std::move(path)), section_(section) {}

    int read_int(std::string_view key, int fallback) const override;

    // Writes the whole file anew beside the old one and puts it in the old
    // one's place in one step, so a reader never sees it half written.
    // Missing folders are created. A file that cannot be read, or that is
    // stored as UTF-16, is left alone and the write fails.
    bool write_string(std::string_view key, std::string_view value) override;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string section_;
};

}  // namespace lyro
