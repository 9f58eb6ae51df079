// Where the program's files live. Everything is in one working folder; the
// program uses the current directory, tests a folder of their own.
#pragma once

#include <filesystem>
#include <string>

namespace lyro {

struct DataFiles {
    std::filesystem::path dir = ".";

    std::string songbook() const { return name("songbook.lyr"); }
    std::string oldbook() const { return name("oldbook.lyr"); }
    std::string temp() const { return name("temp.lyr"); }
    std::string songlist() const { return name("songlist.txt"); }
    std::string page() const { return name("index.html"); }
    std::string stage() const { return name("stage.json"); }

private:
    std::string name(const char* file) const { return (dir / file).string(); }
};

}  // namespace lyro
