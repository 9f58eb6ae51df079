// The library dialog's song box (combo box 40007) as the catalog scan uses
// it: emptied (CB_RESETCONTENT), then filled title by title (CB_ADDSTRING),
// then told that the fill is done. The box keeps its own sorted order.
#pragma once

#include <string_view>

namespace lyro {

class SongBox {
public:
    virtual ~SongBox() = default;
    virtual void reset() = 0;
    virtual void add(std::string_view title) = 0;
    // Every title of this fill is in. A box that shows itself as it fills
    // (the real one, item by item) can wait for this to show the whole
    // list at once; one that keeps its items in memory has nothing to do.
    virtual void finish() {}
};

}  // namespace lyro
