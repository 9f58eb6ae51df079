// Where the viewer stands: one song reviewed, or which place of a running
// performance list, and in which key. The list's run, song requests, the
// viewer and the songbook printout all move it; the program's state object
// holds it and passes it on.
#pragma once

namespace lyro {

struct ViewPosition {
    // 1 while one song is reviewed, 0 while the performance list runs.
    int single_song_mode = 1;
    int start_position = 0;  // 0-based index into the performance list
    int list_position = 0;   // 0-based index into the performance list
    int key_offset = 0;      // half steps, -12..+12
};

}  // namespace lyro
