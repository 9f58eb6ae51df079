// A song box that keeps its items in a vector, in the order they were added
// (the real box sorts them; the catalog scan does not depend on that).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "library/song_box.h"

namespace lyro::test {

class RecordingSongBox final : public SongBox {
public:
    void reset() override {
        items.clear();
        ++resets;
    }
    void add(std::string_view title) override {
        items.emplace_back(title);
        if (finishes > 0) ++added_after_finish;
    }
    void finish() override { ++finishes; }

    std::vector<std::string> items;
    int resets = 0;
    int finishes = 0;
    int added_after_finish = 0;
};

}  // namespace lyro::test
