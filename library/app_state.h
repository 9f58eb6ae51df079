// The program-wide settings and positions that the dialogs share. Plain
// data: the program's one state object holds it and passes it on.
#pragma once

namespace lyro {

struct AppState {
    // Song requests (timer polling): ticks since the last poll, and the
    // requested performance-list position waiting for the library dialog.
    int poll_ticks = 0;
    int requested_position = 0;

    // 1 while one song is reviewed, 0 while the performance list runs.
    int single_song_mode = 1;
    int start_position = 0;  // 0-based index into the performance list
    int list_position = 0;   // 0-based index into the performance list
    int key_offset = 0;      // half steps, -12..+12

    int magnify_level = 2;  // 0..6
    int font_choice = 0;    // 1 = Vera, 0 = Lucida Console
    bool new_song = false;  // the editor was opened by "New Song"
    bool show_hidden = false;
};

}  // namespace lyro
