// The system's files with one chosen step made to fail, a log of every
// step, and a hook that runs after each step (to check that the songbook is
// whole at every moment of a save).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/save_files.h"

namespace lyro::test {

class FaultyFiles final : public SaveFiles {
public:
    // Makes the step named `step` ("read", "write", "link", "replace",
    // "rename_new", "remove", "exists") fail when it acts on a file of the
    // name `file` (any file when empty).
    void fail(std::string step, std::string file = "") {
        fail_step_ = std::move(step);
        fail_file_ = std::move(file);
    }
    // A file system without hard links, as on a FAT memory stick.
    bool no_hard_links = false;
    // Every step as "step name": "write temp.lyr", "replace temp.lyr", ...
    std::vector<std::string> log;
    std::function<void()> after_each;

    bool exists(const std::string& path) override {
        return step("exists", path, [&] { return real_.exists(path); });
    }
    bool read_whole(const std::string& path, std::string& bytes) override {
        return step("read", path, [&] { return real_.read_whole(path, bytes); });
    }
    bool write_durably(const std::string& path, TextParts parts) override {
        // A failed write leaves what a full disk leaves: a part of the text.
        if (fails("write", path)) {
            std::string text;
            for (std::string_view part : parts) text += part;
            real_.write_whole(path, std::string_view(text).substr(0, text.size() / 2));
        }
        return step("write", path, [&] { return real_.write_durably(path, parts); });
    }
    bool hard_link(const std::string& existing, const std::string& new_name) override {
        return step("link", existing, [&] { return !no_hard_links && real_.hard_link(existing, new_name); });
    }
    bool replace(const std::string& from, const std::string& to) override {
        return step("replace", from, [&] { return real_.replace(from, to); });
    }
    bool rename_new(const std::string& from, const std::string& to) override {
        return step("rename_new", from, [&] { return real_.rename_new(from, to); });
    }
    bool remove(const std::string& path) override {
        return step("remove", path, [&] { return real_.remove(path); });
    }

private:
    bool fails(std::string_view name, const std::string& path) const {
        return name == fail_step_ && (fail_file_.empty() || base_name(path) == fail_file_);
    }
    static std::string base_name(const std::string& path) {
        return std::filesystem::path(path).filename().string();
    }
    template <typename Op>
    bool step(std::string_view name, const std::string& path, Op op) {
        log.push_back(std::string(name) + " " + base_name(path));
        const bool ok = !fails(name, path) && op();
        if (after_each) after_each();
        return ok;
    }

    SystemFiles real_;
    std::string fail_step_;
    std::string fail_file_;
};

}  // namespace lyro::test
