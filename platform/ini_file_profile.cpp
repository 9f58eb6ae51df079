// Reading and atomically rewriting one section of an INI file.
#include "platform/c_file.h"
#include "platform/ini_file_profile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/durable_file.h"
#include "platform/ini_text.h"
#include "platform/whole_file.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace lyro {

namespace {

// The file's bytes: empty text for a missing file, nullopt when it exists
// but cannot be read.
std::optional<std::string> read_text(const std::string& path) {
    const CFile f = open_c_file(path, "rb");
    if (!f) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) && !ec) return std::string();
        return std::nullopt;
    }
    std::string text;
    if (!read_to_end(f.get(), text)) return std::nullopt;
    return text;
}

bool is_utf16(std::string_view text) {
    return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
}

// A name beside `path` that no other writer uses at the same time: not
// another process, nor another thread of this one.
std::string scratch_name(const std::string& path) {
    static std::atomic<unsigned> serial{0};
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(getpid());
#endif
    return path + ".lyro-" + std::to_string(pid) + "-" + std::to_string(serial++) + ".tmp";
}

}  // namespace

int IniFileProfile::read_int(std::string_view key, int fallback) const {
    const auto text = read_text(path_);
    if (!text || is_utf16(*text)) return fallback;
    return profile_int(ini_value(*text, section_, key), fallback);
}

bool IniFileProfile::write_string(std::string_view key, std::string_view value) {
    if (!is_ini_name(section_) || !is_ini_name(key) || !is_ini_value(value)) return false;
    const auto text = read_text(path_);
    if (!text || is_utf16(*text)) return false;

    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path_);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);

    const std::string temp = scratch_name(path_);
    const bool written = write_file_durably(temp, ini_with_value(*text, section_, key, value));
    if (written) {
        // The new file keeps the old one's permissions.
        const auto old = fs::status(target, ec);
        if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    }
    if (!written || !replace_file(temp, path_)) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace lyro
