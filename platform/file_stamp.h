// What tells one version of a file from the next without reading it: a
// file put in place by a rename is a new file to the system, with an
// identity of its own, so a watcher sees every replacement even when the
// size and the (coarse) modification time stay the same.
#pragma once

#include <cstdint>
#include <string>

namespace lyro {

struct FileStamp {
    bool exists = false;
    std::uint64_t identity = 0;  // the system's number for the file (inode, file index)
    std::uint64_t size = 0;
    std::uint64_t written = 0;   // the last write, in the system's finest unit
    bool operator==(const FileStamp&) const = default;
};

// The stamp of `path`; `exists` false when it cannot be looked at.
FileStamp file_stamp(const std::string& path);

}  // namespace lyro
