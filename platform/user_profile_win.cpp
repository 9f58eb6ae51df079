// The user's profile on Windows: WIN.INI through the profile calls, which
// serialise single reads and writes between processes.
#include <windows.h>

#include <string>

#include "platform/ini_text.h"
#include "platform/profile_store.h"

namespace lyro {

namespace {

class WinIniProfile final : public ProfileStore {
public:
    explicit WinIniProfile(std::string_view section) : section_(section) {}

    int read_int(std::string_view key, int fallback) const override {
        const std::string k(key);
        return static_cast<int>(GetProfileIntA(section_.c_str(), k.c_str(), fallback));
    }

    bool write_string(std::string_view key, std::string_view value) override {
        if (!is_ini_name(key) || !is_ini_value(value)) return false;
        const std::string k(key);
        const std::string v(value);
        return WriteProfileStringA(section_.c_str(), k.c_str(), v.c_str()) != 0;
    }

private:
    std::string section_;
};

}  // namespace

std::unique_ptr<ProfileStore> open_user_profile(std::string_view section) {
    return std::make_unique<WinIniProfile>(section);
}

}  // namespace lyro
