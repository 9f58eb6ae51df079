// Putting a rewritten songbook in the place of the old one without ever
// losing either: the new text is written whole to temp.lyr and flushed to
// disk, the old songbook is kept as oldbook.lyr, and only then does
// temp.lyr take the songbook's name, in one step. At no moment is the
// songbook missing or incomplete, and a failed step leaves it as it was.
//
// The file operations go through SaveFiles, so that tests can make any one
// of them fail; SystemFiles is the operating system's implementation.
#pragma once

#include "platform/whole_file.h"

#include <span>
#include <string>
#include <string_view>

namespace lyro {

// A file's text in parts, written one after another.

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

struct RotationNames {
    std::string songbook;  // songbook.lyr
    std::string oldbook;   // oldbook.lyr, the one-generation backup
    std::string temp;      // temp.lyr, the scratch file
};

enum class Rotation {
    done,              // the new text is the songbook, the old one the backup
    temp_not_written,  // temp.lyr could not be written whole
    backup_not_made,   // oldbook.lyr could not be made
    not_replaced,      // temp.lyr could not take the songbook's place
};

// Makes `new_book` the songbook and `old_book` (the songbook's present
// content) its backup. Unless the result is `done`, songbook.lyr is exactly
// as before and temp.lyr is gone; oldbook.lyr then holds either the earlier
// backup or a copy of the unchanged songbook (or nothing, when it could
// not be made).
Rotation rotate_songbook(SaveFiles& files, const RotationNames& names, std::string_view old_book,
                         TextParts new_book);

// Writes `text` as the new file `target` through `temp`: the file appears
// whole or not at all, and an existing `target` is never overwritten.
bool create_whole(SaveFiles& files, const std::string& temp, const std::string& target,
                  std::string_view text);

}  // namespace lyro
