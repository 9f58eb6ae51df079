// A C library file that closes itself: every file the programs open is one
// of these, so no path can leak a handle.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace lyro {

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

// Opens `path` with the C library's `mode` ("rb", "wb", ...); empty on failure.
inline CFile open_c_file(const std::string& path, const char* mode) {
    return CFile(std::fopen(path.c_str(), mode));
}

}  // namespace lyro
