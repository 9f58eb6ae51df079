// The songbook printout: a numbered index of the sorted catalog, then every
// catalog entry's song on pages of its own, numbered as in the index.
#pragma once

#include <string>

#include "library/beeper.h"
#include "library/catalog.h"
#include "library/current_song.h"
#include "library/text_label.h"
#include "print/print_surface.h"
#include "view/view_position.h"

namespace lyro {

// What the songbook printout reads, and the storage it works in.
struct SongbookSources {
    const Catalog& catalog;    // printed in its order: sort it first
    std::string songbook_path;
    // Left holding the last entry's song, as the printout loaded it: its
    // folded title, its lines (not transposed) with a line of four blanks
    // added, single-song mode, key offset 0, and the last entry's index as
    // start and list position.
    CurrentSong& song;
    ViewPosition& position;
    TextLabel& status;  // " " or "Song Not Found" for each song looked up
    Beeper& beeper;     // beeps for over-long lines in the songbook
};

// Prints through a job started on `surface`, owned by `owner`. Prints
// nothing when the print dialog is cancelled. Every entry gets its pages,
// hidden songs and label entries included; an entry whose song cannot be
// found (or read) gets its title line and the blank line only.
void print_songbook(PrintSurface& surface, OwnerWindow owner, const SongbookSources& in);

// One line of the index: the number right-aligned in three places, a blank
// and the title ("%3d %s").
std::string index_line(std::size_t number, const std::string& title);

}  // namespace lyro
