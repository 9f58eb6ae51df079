// The current-song printout: the title and the display lines of the song in
// the viewer, as they stand on screen (already transposed).
#pragma once

#include "library/current_song.h"
#include "print/print_surface.h"

namespace lyro {

// Prints `song` through a job started on `surface`, owned by `owner`.
// Prints nothing when the print dialog is cancelled. Changes nothing of the
// song.
void print_current_song(PrintSurface& surface, OwnerWindow owner, const CurrentSong& song);

}  // namespace lyro
