// The catalog: every song title (hidden ones too) and every label entry of
// the songbook, in file order, built in one pass together with the library
// dialog's song box and the list of shown songs that it is given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "library/beeper.h"
#include "library/current_song.h"
#include "library/song_box.h"
#include "library/text_label.h"

namespace lyro {

inline constexpr std::size_t kCatalogTitleMax = 49;

struct Catalog {
    // Each entry is a title (or label text) cut to kCatalogTitleMax chars.
    std::vector<std::string> entries;
};

// A list of the songs that the scan shows, besides the song box: in the
// program, the remote list page. It is begun before the scan reads the
// songbook and finished only when the scan has read all of it.
class SongListSink {
public:
    virtual ~SongListSink() = default;
    virtual void begin_list_page() = 0;
    virtual void add_list_page_entry(std::string_view title) = 0;
    virtual void finish_list_page() = 0;
};

// What the catalog scan writes besides the catalog itself.
struct CatalogOutputs {
    SongBox& song_box;
    TextLabel& count_label;
    Beeper& beeper;
    SongListSink& song_list;
};

// Reads `songbook_path` from the top and rebuilds the catalog, the song box,
// the count label and the song list. Hidden songs (titles starting with
// '/') always enter the catalog, and the song box and the page only when
// `show_hidden` is set. The song box is reset and finished on every path,
// the songbook missing too.
void build_catalog(const std::string& songbook_path, bool show_hidden, Catalog& catalog,
                   CatalogOutputs out);

// Empties every display line of the current song (the line count stays).
void clear_display_lines(CurrentSong& song);

}  // namespace lyro
