// Title cutting, folding and the removal of rich-text control words.
#include "library/title_ops.h"

#include <array>
#include <vector>

namespace lyro {

std::string_view header_title(std::string_view line) {
    std::size_t at = line.find(kHeaderMark);
    if (at == std::string_view::npos) return {};
    while (at < line.size() && line[at] == ':') ++at;
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size()) return {};
    const std::size_t end = line.find(':', at + 1);
    return line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
}

void upper_case(std::string& title) {
    for (char& c : title) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

void fold_title(std::string& title) {
    upper_case(title);
    // From the last character back to the second: printable ASCII stops the
    // trim, a blank, CR or LF becomes the new end, anything else is passed.
    for (std::size_t i = title.size(); i-- > 1;) {
        const auto c = static_cast<unsigned char>(title[i]);
        if (c >= 33 && c <= 127) break;
        if (c == ' ' || c == '\r' || c == '\n') title.resize(i);
    }
}

std::string folded(std::string_view title) {
    std::string s(title);
    fold_title(s);
    return s;
}

void strip_rtf_words(std::string& line) {
    static constexpr std::array<std::string_view, 7> kWords = {
        "\\pard", "\\par", "\\nowidctlpar", "\\f0", "\\now", "\\tab", "\\page"};
    if (line.find('\\') == std::string::npos) return;
    // Search a copy in which removed words are masked out, so that a later
    // word cannot match inside an earlier one's place; none of the words
    // holds '&', so masking with '&' cannot create or hide a match.
    std::string masked = line;
    std::vector<bool> removed(line.size(), false);
    bool any = false;
    for (std::string_view word : kWords) {
        const std::size_t at = masked.find(word);
        if (at == std::string::npos) continue;
        for (std::size_t i = at; i < at + word.size(); ++i) {
            masked[i] = '&';
            removed[i] = true;
        }
        any = true;
    }
    if (!any) return;
    std::string kept;
    kept.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!removed[i]) kept.push_back(line[i]);
    }
    line = std::move(kept);
}

std::string_view header_key(std::string_view header_line) {
    const std::string_view title = header_title(header_line);
    // A header without a title has no title to skip.
    const std::size_t after_title =
        title.empty() ? 0
                      : static_cast<std::size_t>(title.data() - header_line.data()) + title.size();
    std::string_view rest = header_line.substr(after_title);
    const std::size_t mark = rest.rfind("KEY=");
    if (mark == std::string_view::npos) return {};
    rest.remove_prefix(mark + 4);
    return rest.substr(0, rest.find_first_of(" \t\r\n"));
}

}  // namespace lyro
