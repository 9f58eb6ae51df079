// The library dialog's song box (combo box 40007) as the catalog scan uses
// it: emptied (CB_RESETCONTENT), then filled title by title (CB_ADDSTRING).
// The box keeps its own sorted order.
#pragma once

#include <string_view>

namespace lyro {

class SongBox {
public:
    virtual ~SongBox() = default;
    virtual void reset() = 0;
    virtual void add(std::string_view title) = 0;
};

}  // namespace lyro
