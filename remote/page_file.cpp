// Putting a published file in place; see page_file.h.
#include "remote/page_file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/c_file.h"
#include "platform/durable_file.h"

namespace lyro {

namespace {

// A file that the user has made read-only is left as it is. The check comes
// first because deleting a read-only file succeeds on some systems.
bool is_read_only(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return false;
    return (status.permissions() & std::filesystem::perms::owner_write) ==
           std::filesystem::perms::none;
}

std::string scratch_path(const std::string& path) { return path + ".new"; }

// Windows refuses to replace a file while another program has it open, as
// songserv has for the moment it reads it: the replacement is tried again
// for a short while before the old file is left as it is.
constexpr int kReplaceTries = 20;
constexpr auto kReplacePause = std::chrono::milliseconds(5);

bool replace_soon(const std::string& from, const std::string& to) {
    for (int attempt = 1;; ++attempt) {
        if (replace_file(from, to)) return true;
        if (attempt == kReplaceTries) return false;
        std::this_thread::sleep_for(kReplacePause);
    }
}

// The file that will become `path`, open for writing; empty when `path`
// cannot be replaced (the user made it read-only) or the new file cannot
// be created.
CFile open_new_page(const std::string& path) {
    if (is_read_only(path)) return {};
    return open_c_file(scratch_path(path), "wb");
}

// Closes the new file and puts it in the place of `path`. A file that could
// not be written whole, or not put in place, is dropped, and the old one
// stays.
bool finish(CFile& file, const std::string& path) {
    if (!file) return false;
    const bool written = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const bool closed = std::fclose(file.release()) == 0;
    const std::string scratch = scratch_path(path);
    if (written && closed && replace_soon(scratch, path)) return true;
    std::remove(scratch.c_str());
    return false;
}

}  // namespace

bool publish_file(const std::string& path, std::string_view bytes) {
    CFile file = open_new_page(path);
    if (!file) return false;
    // A short write shows in the stream's error flag, which finish() checks.
    (void)std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    return finish(file, path);
}

}  // namespace lyro
