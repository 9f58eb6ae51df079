// File names for exported songs that every Windows folder accepts: the
// characters Windows forbids replaced, its reserved device names avoided,
// and no two songs given the same name (Windows ignores case).
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace lyro {

class ExportNames {
public:
    // A new name "<title>.cho" for `title` (Windows-1252), distinct from
    // every name given before: "Title (2).cho" for the second one.
    std::string name_for(std::string_view title);

private:
    std::set<std::string> taken_;  // folded to capitals
};

}  // namespace lyro
