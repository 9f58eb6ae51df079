// The operating system's side of SaveFiles: C library files for reading and
// writing, and the system's own calls for links and renames, so that each
// rename is one step and is on disk when it returns.
#include "platform/save_files.h"

#include <cerrno>
#include <cstdio>

#include "platform/durable_file.h"
#include "platform/whole_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#endif

namespace lyro {

namespace {

#ifndef _WIN32
// A rename or link is only on disk once the folder that holds the names is.
bool sync_folder_of(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::filesystem::path folder = parent.empty() ? std::filesystem::path(".") : parent;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
#endif

}  // namespace

bool SystemFiles::exists(const std::string& path) {
#ifdef _WIN32
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
#endif
}

bool SystemFiles::read_whole(const std::string& path, std::string& bytes) {
    return read_whole_file(path, bytes);
}

bool SystemFiles::write_durably(const std::string& path, TextParts parts) {
    return write_file_durably(path, parts);
}

bool SystemFiles::hard_link(const std::string& existing, const std::string& new_name) {
#ifdef _WIN32
    return CreateHardLinkA(new_name.c_str(), existing.c_str(), nullptr) != 0;
#else
    // The folder is put on disk by the replace that ends every rotation.
    return ::link(existing.c_str(), new_name.c_str()) == 0;
#endif
}

bool SystemFiles::replace(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return replace_file(from, to);  // MoveFileExA, replacing and writing through
#else
    return replace_file(from, to) && sync_folder_of(to);
#endif
}

bool SystemFiles::rename_new(const std::string& from, const std::string& to) {
#ifdef _WIN32
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return sync_folder_of(to);
    }
    if (errno == EEXIST) return false;
    // A file system without hard links: check, then rename.
    if (exists(to)) return false;
    return std::rename(from.c_str(), to.c_str()) == 0 && sync_folder_of(to);
#endif
}

bool SystemFiles::remove(const std::string& path) {
#ifdef _WIN32
    return DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
#else
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
#endif
}

}  // namespace lyro
