// The order of the rotation's steps; see file_rotation.h.
#include "library/file_rotation.h"

namespace lyro {

namespace {

// The songbook's present state as oldbook.lyr: a second name for the same
// file where the file system allows it (no data is written), else a copy.
bool make_backup(SaveFiles& files, const RotationNames& names, std::string_view old_book) {
    if (!files.remove(names.oldbook)) return false;
    if (files.hard_link(names.songbook, names.oldbook)) return true;
    if (files.write_whole(names.oldbook, old_book)) return true;
    files.remove(names.oldbook);  // never leave a half-written backup
    return false;
}

}  // namespace

Rotation rotate_songbook(SaveFiles& files, const RotationNames& names, std::string_view old_book,
                         TextParts new_book) {
    // Nothing is renamed before the new text is whole on disk.
    if (!files.write_durably(names.temp, new_book)) {
        files.remove(names.temp);
        return Rotation::temp_not_written;
    }
    if (!make_backup(files, names, old_book)) {
        files.remove(names.temp);
        return Rotation::backup_not_made;
    }
    // The one step that changes the songbook: it has the old text or the
    // new one at every moment, never none.
    if (!files.replace(names.temp, names.songbook)) {
        files.remove(names.temp);
        return Rotation::not_replaced;
    }
    return Rotation::done;
}

bool create_whole(SaveFiles& files, const std::string& temp, const std::string& target,
                  std::string_view text) {
    if (files.write_whole(temp, text) && files.rename_new(temp, target)) return true;
    files.remove(temp);
    return false;
}

}  // namespace lyro
