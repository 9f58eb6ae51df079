// See shared_reading.h. The C library's fopen on Windows denies deleting and
// replacing an open file, so the handle is opened with every sharing mode
// and handed to the C library afterwards.
#include "platform/shared_reading.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace lyro {

CFile open_for_shared_reading(const std::string& path) {
#ifdef _WIN32
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return {};
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (!file) _close(fd);  // closes the handle too
    return CFile(file);
#else
    return open_c_file(path, "rb");
#endif
}

}  // namespace lyro
