// The texts of the song editor's message boxes. A '\r' breaks the line.
#pragma once

namespace lyro::texts {

// Shown, with the saving caption "SAVE SONG", when the title box still
// holds the template's "NONAME".
inline constexpr const char* kTemplateTitle = "NONAME";
inline constexpr const char* kEnterSongName = "Please Enter Name of Song";

inline constexpr const char* kEditorHelpCaption =
    "EDIT SONGBOOK\r with the EXE Executable program.";
inline constexpr const char* kEditorHelp =
    "Put in the song title in the upper right box\r"
    "Make sure that you don't use the same name for two songs or\r"
    "one of them may get deleted when you edit\r"
    "Mark lines with chords using the less than < symbol, this will\r"
    "tell the computer which lines to transpose and the unmarked lines\r"
    "will be left alone.\r"
    "Give sufficient space between chords so that they can grow,\r"
    "A simple B chord could become F# in the right key and the MAJ/MIN\r"
    "symbols will get scooted over instead of written over but if you leave a\r"
    "a solitary space after the end of the chord, it might bleed into the next.\r"
    "The song library is placed in a file called SONGBOOK.LYR\r"
    "If you put this program on a disk or memory stick, make sure you\r"
    "copy the song libray and your songlist SONGLIST.TXT";

}  // namespace lyro::texts
