// File stamps through stat.
#include <sys/stat.h>

#include "platform/file_stamp.h"

namespace lyro {

FileStamp file_stamp(const std::string& path) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.identity = static_cast<std::uint64_t>(s.st_ino) ^
                     (static_cast<std::uint64_t>(s.st_dev) << 40);
    stamp.size = static_cast<std::uint64_t>(s.st_size);
    stamp.written = static_cast<std::uint64_t>(s.st_mtim.tv_sec) * 1000000000u +
                    static_cast<std::uint64_t>(s.st_mtim.tv_nsec);
    return stamp;
}

}  // namespace lyro
