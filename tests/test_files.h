// Scratch folders and file helpers for tests: every test works in a folder
// of its own under the system's temporary folder and removes it afterwards.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "library/beeper.h"
#include "library/text_label.h"

namespace lyro::test {

class ScratchDir {
public:
    ScratchDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("lyro-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void write_file(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

class CountingBeeper final : public Beeper {
public:
    void beep() override { ++count; }
    int count = 0;
};

class RecordingLabel final : public TextLabel {
public:
    explicit RecordingLabel(std::string initial = ".") : text(std::move(initial)) {}
    void set_text(std::string_view t) override {
        text = t;
        ++writes;
    }
    std::string text;
    int writes = 0;
};

}  // namespace lyro::test
