// Adding song files (ChordPro, chord sheets) to the songbook in one
// rewrite: each song of each file is converted or skipped with its reason,
// and the new songs go where the catalog sees them, before the end marker.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "library/songbook.h"

namespace lyro {

struct ImportPlan {
    std::vector<std::string> report;  // one line per song (per file a file cannot be read)
    std::size_t imported = 0;         // songs
    std::size_t skipped = 0;          // songs, and files that hold none
    std::string new_book;             // the whole new songbook (when imported > 0)
};

// Reads file `name` whole into `bytes`; false when it cannot be read.
using ReadFile = std::function<bool(const std::string& name, std::string& bytes)>;

// How a title (Windows-1252) is shown in the report.
using ShowTitle = std::function<std::string(std::string_view title)>;

// `book_bytes`: the songbook as it is ("" for none yet). A song whose title
// a song of the songbook already has (compared folded), or an earlier song
// of the same import, is skipped.
ImportPlan plan_import(std::string_view book_bytes, const std::vector<std::string>& files,
                       const ReadFile& read,
                       const ShowTitle& show = [](std::string_view t) { return std::string(t); });
ImportPlan plan_import(const Songbook& book, const std::vector<std::string>& files,
                       const ReadFile& read, const ShowTitle& show);

}  // namespace lyro
