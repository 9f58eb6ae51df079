// Whole-file reads and durable writes.
#include "platform/whole_file.h"

#include "platform/c_file.h"
#include "platform/durable_file.h"

namespace lyro {

namespace {
constexpr std::size_t kBlock = 64 * 1024;
}  // namespace

bool read_to_end(std::FILE* file, std::string& bytes) {
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kBlock);
        const std::size_t n = std::fread(bytes.data() + used, 1, kBlock, file);
        bytes.resize(used + n);
        if (n < kBlock) break;
    }
    return std::ferror(file) == 0;
}

bool read_whole_file(const std::string& path, std::string& bytes) {
    bytes.clear();
    const CFile file = open_c_file(path, "rb");
    if (!file) return false;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size) + kBlock);
        std::rewind(file.get());
    }
    return read_to_end(file.get(), bytes);
}

bool write_file_durably(const std::string& path, TextParts parts) {
    CFile file = open_c_file(path, "wb");
    if (!file) return false;
    bool written = true;
    for (std::string_view part : parts)
        written = written && std::fwrite(part.data(), 1, part.size(), file.get()) == part.size();
    written = written && flush_to_disk(file.get());
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace lyro
