// The file operations that a save is made of: reading a whole file,
// writing one durably, a second name, replacing and renaming in one step,
// removing. Savers take SaveFiles, so that tests can make any one of the
// steps fail; SystemFiles is the operating system's implementation.
#pragma once

#include "platform/whole_file.h"

#include <string>
#include <string_view>

namespace lyro {

class SaveFiles {
public:
    virtual ~SaveFiles() = default;

    virtual bool exists(const std::string& path) = 0;
    // The whole content of `path`; false when it cannot be opened or read.
    virtual bool read_whole(const std::string& path, std::string& bytes) = 0;
    // Creates `path` (an existing file is emptied), writes the parts and
    // puts them on disk. False when any of that fails.
    virtual bool write_durably(const std::string& path, TextParts parts) = 0;
    bool write_whole(const std::string& path, std::string_view text) {
        const std::string_view parts[] = {text};
        return write_durably(path, parts);
    }
    // Gives the file `existing` the further name `new_name`. False where the
    // file system has no hard links, or when `new_name` exists.
    virtual bool hard_link(const std::string& existing, const std::string& new_name) = 0;
    // Puts `from` in the place of `to` in one step: `to` is replaced whole
    // or not at all.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    // Renames `from` to `to`, but only when no file `to` exists.
    virtual bool rename_new(const std::string& from, const std::string& to) = 0;
    // True when `path` no longer exists afterwards.
    virtual bool remove(const std::string& path) = 0;
};

// The operating system's files. Holds no state.
class SystemFiles final : public SaveFiles {
public:
    bool exists(const std::string& path) override;
    bool read_whole(const std::string& path, std::string& bytes) override;
    bool write_durably(const std::string& path, TextParts parts) override;
    bool hard_link(const std::string& existing, const std::string& new_name) override;
    bool replace(const std::string& from, const std::string& to) override;
    bool rename_new(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
};

}  // namespace lyro
