// Putting a rewritten songbook in the place of the old one without ever
// losing either: the new text is written whole to temp.lyr and flushed to
// disk, the old songbook is kept as oldbook.lyr, and only then does
// temp.lyr take the songbook's name, in one step. At no moment is the
// songbook missing or incomplete, and a failed step leaves it as it was.
//
// The file operations go through SaveFiles, so that tests can make any one
// of them fail.
#pragma once

#include <string>
#include <string_view>

#include "platform/save_files.h"
#include "platform/whole_file.h"

namespace lyro {

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
