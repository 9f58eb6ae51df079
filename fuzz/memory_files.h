// The file steps of a save held in memory, so that a fuzz target can save
// thousands of times a second without touching the disk.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/save_files.h"

namespace lyro::fuzz {

class MemoryFiles final : public SaveFiles {
public:
    std::map<std::string, std::string> files;

    bool exists(const std::string& path) override { return files.count(path) != 0; }
    bool read_whole(const std::string& path, std::string& bytes) override {
        const auto it = files.find(path);
        if (it == files.end()) return false;
        bytes = it->second;
        return true;
    }
    bool write_durably(const std::string& path, TextParts parts) override {
        std::string& text = files[path];
        text.clear();
        for (std::string_view part : parts) text += part;
        return true;
    }
    bool hard_link(const std::string& existing, const std::string& new_name) override {
        if (!exists(existing) || exists(new_name)) return false;
        files[new_name] = files[existing];
        return true;
    }
    bool replace(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (it == files.end()) return false;
        files[to] = std::move(it->second);
        files.erase(from);
        return true;
    }
    bool rename_new(const std::string& from, const std::string& to) override {
        return !exists(to) && replace(from, to);
    }
    bool remove(const std::string& path) override {
        files.erase(path);
        return true;
    }
};

}  // namespace lyro::fuzz
