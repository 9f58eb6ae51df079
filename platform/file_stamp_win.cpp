// File stamps through the file's own information: its index on its volume
// (a replacement is a new file), its size and its last write in 100 ns.
#include <windows.h>

#include <memory>

#include "platform/file_stamp.h"

namespace lyro {

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::uint64_t joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

}  // namespace

FileStamp file_stamp(const std::string& path) {
    // Opened for no access and shared every way: it stands in no writer's
    // or renamer's way.
    HANDLE raw = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return {};
    const Handle file(raw);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(raw, &info)) return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.identity = joined(info.nFileIndexHigh, info.nFileIndexLow) ^
                     (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 32);
    stamp.size = joined(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.written = joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

}  // namespace lyro
