// Adding ChordPro files to the songbook in one rewrite: each file is
// converted or skipped with its reason, and the new songs go where the
// catalog sees them, before the end marker.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lyro {

struct ImportPlan {
    std::vector<std::string> report;  // one line per file
    std::size_t imported = 0;
    std::size_t skipped = 0;
    std::string new_book;             // the whole new songbook (when imported > 0)
};

// Reads file `name` whole into `bytes`; false when it cannot be read.
using ReadFile = std::function<bool(const std::string& name, std::string& bytes)>;

// How a title (Windows-1252) is shown in the report.
using ShowTitle = std::function<std::string(std::string_view title)>;

// `book_bytes`: the songbook as it is ("" for none yet). A file whose title
// a song of the songbook already has (compared folded), or an earlier file
// of the same import, is skipped.
ImportPlan plan_import(std::string_view book_bytes, const std::vector<std::string>& files,
                       const ReadFile& read,
                       const ShowTitle& show = [](std::string_view t) { return std::string(t); });

// The file name without its folders and its extension: a file's title when
// it has no {title}.
std::string file_title(std::string_view path);

}  // namespace lyro
