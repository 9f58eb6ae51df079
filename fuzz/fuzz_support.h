// What every fuzz target shares: a scratch folder of the process's own
// where the input is written as a file (the readers read files), and a
// check that stops the run with a message when an invariant fails.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "tests/test_files.h"

namespace lyro::fuzz {

// One scratch folder per fuzzing process, removed when the process ends.
inline const test::ScratchDir& scratch() {
    static const test::ScratchDir dir;
    return dir;
}

inline std::string write_input(std::string_view name, std::string_view bytes) {
    const std::string path = scratch().file(name);
    test::write_file(path, bytes);
    return path;
}

// An invariant that failed is a finding like a crash: libFuzzer keeps the
// input that caused it.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant failed: %s\n", what);
    std::abort();
}

}  // namespace lyro::fuzz
