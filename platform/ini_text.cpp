// Parsing and updating WIN.INI text line by line.
#include "platform/ini_text.h"

#include "platform/whole_file.h"

#include <cstdint>
#include <vector>

namespace lyro {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// One line of the text: where it starts, its content without the line end,
// and where the next line starts.
struct Line {
    std::size_t begin = 0;
    std::string_view content;
    std::size_t next = 0;
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view content = text.substr(pos, end - pos);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back({pos, content, next});
        pos = next;
    }
    return lines;
}

// A section header's name; nullopt for other lines. A "[" without its "]"
// starts a section that no name can address.
std::optional<std::string_view> header_name(std::string_view content) {
    const std::string_view t = trimmed(content);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::string_view("\n");
    return trimmed(t.substr(1, close - 1));
}

bool is_comment(std::string_view content) {
    const std::string_view t = trimmed(content);
    return !t.empty() && t.front() == ';';
}

std::string_view key_of(std::string_view content) {
    return trimmed(content.substr(0, content.find('=')));
}

// The lines [first, last) of the first section named `section`; first is
// the header's index, or lines.size() when the section is missing.
std::pair<std::size_t, std::size_t> find_section(const std::vector<Line>& lines,
                                                 std::string_view section) {
    std::size_t first = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = header_name(lines[i].content);
        if (!name) continue;
        if (first != lines.size()) return {first, i};
        if (same_name(*name, section)) first = i;
    }
    return {first, lines.size()};
}

// The index of the first line of the section holding `key`, or `last`.
std::size_t find_key(const std::vector<Line>& lines, std::size_t first, std::size_t last,
                     std::string_view key) {
    for (std::size_t i = first + 1; i < last; ++i) {
        const std::string_view c = lines[i].content;
        if (!is_comment(c) && c.find('=') != std::string_view::npos && same_name(key_of(c), key))
            return i;
    }
    return last;
}

// Ends the text's last line before a line is added behind it. A last line
// that ends in a lone CR gets only the LF that completes its CR LF: another
// CR would become part of that line's value.
void end_last_line(std::string& out) {
    if (out.empty() || out.back() == '\n') return;
    out += out.back() == '\r' ? std::string_view("\n") : kLineEnd;
}

std::string_view unquoted(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::optional<std::string> ini_value(std::string_view text, std::string_view section,
                                     std::string_view key) {
    const auto lines = split_lines(text);
    const auto [first, last] = find_section(lines, section);
    if (first == lines.size()) return std::nullopt;
    const std::size_t at = find_key(lines, first, last, key);
    if (at == last) return std::nullopt;
    const std::string_view c = lines[at].content;
    return std::string(unquoted(trimmed(c.substr(c.find('=') + 1))));
}

int profile_int(const std::optional<std::string>& value, int fallback) {
    if (!value || value->empty()) return fallback;
    std::string_view v = trimmed(*value);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    std::uint32_t n = 0;  // wraps like the 32-bit profile reader
    for (const char c : v) {
        if (c < '0' || c > '9') break;
        n = n * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) n = 0u - n;
    return static_cast<int>(n);
}

// A ';' in front makes a key line a comment that no read finds again, and
// a zero byte ends the name or value early for the Windows profile calls
// that read the same file.
bool is_ini_name(std::string_view name) {
    using namespace std::string_view_literals;
    return !name.empty() && name == trimmed(name) && name.front() != ';' &&
           name.find_first_of("\r\n=[]\0"sv) == std::string_view::npos;
}

bool is_ini_value(std::string_view value) {
    using namespace std::string_view_literals;
    return value.find_first_of("\r\n\0"sv) == std::string_view::npos;
}

std::string ini_with_value(std::string_view text, std::string_view section,
                           std::string_view key, std::string_view value) {
    const auto lines = split_lines(text);
    const auto [first, last] = find_section(lines, section);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    const auto key_line = [&] {
        std::string l(key);
        l += '=';
        l += value;
        return l;
    };
    if (first == lines.size()) {
        out.append(text);
        end_last_line(out);
        out.append("[").append(section).append("]").append(kLineEnd);
        out.append(key_line()).append(kLineEnd);
        return out;
    }
    const std::size_t at = find_key(lines, first, last, key);
    if (at != last) {
        // Keep the key as the file spells it and the line's own line end.
        const Line& l = lines[at];
        const std::size_t content_end = l.begin + l.content.size();
        out.append(text.substr(0, l.begin));
        out.append(key_of(l.content)).append("=").append(value);
        out.append(text.substr(content_end));
        return out;
    }
    std::size_t after = first;  // the section's last line that is not blank
    for (std::size_t i = first + 1; i < last; ++i)
        if (!trimmed(lines[i].content).empty()) after = i;
    const std::size_t split = lines[after].next;
    out.append(text.substr(0, split));
    if (split == text.size()) end_last_line(out);
    out.append(key_line()).append(kLineEnd);
    out.append(text.substr(split));
    return out;
}

}  // namespace lyro
