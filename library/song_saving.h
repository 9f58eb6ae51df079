// Saving the song editor's song: the whole songbook is rewritten with the
// edited song's old lines replaced by the editor's (or a new song added at
// the end), and the rewritten text takes the songbook's place through
// temp.lyr, keeping the previous songbook as oldbook.lyr.
//
// Everything else in the file is copied through byte for byte (CR bytes
// aside, which are dropped, and every line end is written as CR LF): other
// songs, comment lines, free text, lines of any length, and whatever stands
// after a Ctrl-Z. A save that cannot be done whole changes nothing and says
// why.
//
// The caller rebuilds the catalog (build_catalog) after every save, whatever
// its result, so that the song box and the remote list page show the file
// as it now is.
#pragma once

#include <string>
#include <string_view>

#include "library/data_files.h"
#include "library/editor_boxes.h"
#include "platform/save_files.h"

namespace lyro {

enum class SaveResult {
    saved,
    book_unreadable,       // songbook.lyr could not be read
    song_not_found,        // the edited song is no longer in the songbook
    title_taken,           // another song already has the new title
    title_has_end_marker,  // the title would end the songbook where it stands
    temp_not_written,      // temp.lyr could not be written whole
    backup_not_made,       // oldbook.lyr could not be made
    not_replaced,          // temp.lyr could not take the songbook's place
};

// Saves the editor's song. `current_title` names the song that the editor
// loaded (the first song of that title before the end marker); with
// `new_song` the song is added at the end of the file instead, after an end
// marker if there is one. An edited song that was the last of the file is
// written at the end too, with its title in capitals.
//
// The title box is read up to 99 characters; an empty one (or one of blanks
// only) gives "NONAME". A title that another song already has (compared in
// folded form) is refused, for a new song and for a renamed one alike.
//
// Unless the result is `saved`, nothing has changed: not the songbook, not
// `current_title`. After a save `current_title` holds the title as the
// songbook now gives it, so that the next save from the same editor finds
// the song again.
SaveResult save_song(SaveFiles& files, const DataFiles& paths, const EditorBoxes& boxes,
                     bool new_song, std::string& current_title);

// What to tell the user about a save that failed ("" for `saved`).
std::string_view save_message(SaveResult result);

// The caption of the editor's message boxes about saving.
inline constexpr std::string_view kSaveCaption = "SAVE SONG";

}  // namespace lyro
