// The server's console for unit tests: standard output and standard error
// as two files of a scratch folder, read back as bytes.
#pragma once

#include <cstdio>
#include <string>

#include "server/server_config.h"
#include "tests/test_files.h"

namespace lyro::test {

class ConsoleFiles {
public:
    explicit ConsoleFiles(const ScratchDir& dir)
        : out_path_(dir.file("out.txt")), err_path_(dir.file("err.txt")),
          out_(std::fopen(out_path_.c_str(), "wb")), err_(std::fopen(err_path_.c_str(), "wb")) {}
    ~ConsoleFiles() {
        std::fclose(out_);
        std::fclose(err_);
    }
    ConsoleFiles(const ConsoleFiles&) = delete;
    ConsoleFiles& operator=(const ConsoleFiles&) = delete;

    // Points the config's console at these files.
    void attach(ServerConfig& config) const {
        config.out = out_;
        config.err = err_;
    }
    std::string out() const {
        std::fflush(out_);
        return read_file(out_path_);
    }
    std::string err() const {
        std::fflush(err_);
        return read_file(err_path_);
    }

private:
    std::string out_path_;
    std::string err_path_;
    std::FILE* out_;
    std::FILE* err_;
};

}  // namespace lyro::test
