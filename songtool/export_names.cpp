// Naming exported songs; see export_names.h.
#include "songtool/export_names.h"

#include <array>

namespace lyro {

namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";
constexpr std::size_t kStemMax = 100;

std::string capitals(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
bool reserved(std::string_view stem) {
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    const std::string name = capitals(stem.substr(0, stem.find('.')));
    for (std::string_view device : kDevices) {
        if (name == device) return true;
    }
    return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

std::string stem_of(std::string_view title) {
    std::string stem;
    for (char c : title.substr(0, kStemMax)) {
        const bool bad = static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
        stem += bad ? '_' : c;
    }
    // Windows drops trailing dots and blanks from names, and leading
    // blanks are easily lost.
    stem.erase(stem.find_last_not_of(". ") + 1);
    stem.erase(0, stem.find_first_not_of(' '));
    if (stem.empty()) stem = "song";
    if (reserved(stem)) stem += '_';
    return stem;
}

}  // namespace

std::string ExportNames::name_for(std::string_view title) {
    const std::string stem = stem_of(title);
    std::string name = stem + ".cho";
    for (int n = 2; !taken_.insert(capitals(name)).second; ++n) {
        name = stem + " (" + std::to_string(n) + ").cho";
    }
    return name;
}

}  // namespace lyro
