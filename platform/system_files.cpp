// The operating system's side of SaveFiles: C library files for reading and
// writing, and the system's own calls for links and renames, so that each
// rename is one step and is on disk when it returns.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/c_file.h"
#include "platform/durable_file.h"
#include "platform/file_rotation.h"

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

using File = CFile;

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
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    bytes.clear();
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
        std::rewind(file.get());
    }
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
    return std::ferror(file.get()) == 0;
}

bool SystemFiles::write_durably(const std::string& path, TextParts parts) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    bool written = true;
    for (std::string_view part : parts) {
        written = written && std::fwrite(part.data(), 1, part.size(), file.get()) == part.size();
    }
    written = written && flush_to_disk(file.get());
    return std::fclose(file.release()) == 0 && written;
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
