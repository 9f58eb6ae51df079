// The songbook's line reader as the format describes it, one byte at a time
// with nothing clever: the model's quick paths are checked against it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "library/songbook.h"

namespace lyro::test {

struct ReferenceRead {
    std::vector<std::string> lines;
    int beeps = 0;
    std::vector<int> beeps_through;  // the beeps up to each delivered line, its own too
};

inline ReferenceRead reference_read(std::string_view bytes) {
    ReferenceRead read;
    std::string line;
    const auto deliver = [&] {
        if (!line.empty() && line.front() == ';') {
            line.clear();
            return;
        }
        if (!line.empty() && line.back() == '\n') line.pop_back();
        read.lines.push_back(line);
        read.beeps_through.push_back(read.beeps);
        line.clear();
    };
    for (const char c : bytes) {
        if (c == '\x1a') break;
        if (c == '\r') continue;
        line.push_back(c);
        if (line.size() == kBookLineMax) {
            ++read.beeps;
            read.lines.push_back(line);
            read.beeps_through.push_back(read.beeps);
            line.clear();
        } else if (c == '\n') {
            deliver();
        }
    }
    if (!line.empty()) deliver();
    return read;
}

// What the model delivers to a reader: every visible line, one beep a cut.
inline ReferenceRead model_read(std::string_view bytes) {
    ReferenceRead read;
    const Songbook book{std::string(bytes)};
    for (const BookLine& line : book.lines()) {
        if (line.cut) ++read.beeps;
        if (!line.visible()) continue;
        read.lines.emplace_back(line.text);
        read.beeps_through.push_back(read.beeps);
    }
    return read;
}

}  // namespace lyro::test
