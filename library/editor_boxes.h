// What a save reads from the song editor: the title box (control 4022), the
// key box (control 4005) and the text box (control 4017), whose lines are
// the song's lines. The Win32
// editor implements it over its edit controls; EditorText holds the same in
// memory (for tests, or for a caller that has the box's whole text).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lyro {

class EditorBoxes {
public:
    virtual ~EditorBoxes() = default;
    virtual std::string title_text() const = 0;
    virtual std::string key_text() const = 0;
    // The text box's lines, split at its line breaks: a text that ends with
    // a line break has an empty last line, an empty text is one empty line.
    virtual std::size_t line_count() const = 0;
    // Line `index` (below line_count()) whole, without its line break.
    virtual std::string line(std::size_t index) const = 0;
};

// The boxes' contents as plain text; the text's line breaks are CR LF, as
// in an edit control.
class EditorText final : public EditorBoxes {
public:
    EditorText(std::string title, std::string_view text, std::string key = {})
        : title_(std::move(title)), key_(std::move(key)) {
        std::size_t from = 0;
        for (std::size_t at; (at = text.find("\r\n", from)) != std::string_view::npos; from = at + 2) {
            lines_.emplace_back(text.substr(from, at - from));
        }
        lines_.emplace_back(text.substr(from));
    }

    std::string title_text() const override { return title_; }
    std::string key_text() const override { return key_; }
    std::size_t line_count() const override { return lines_.size(); }
    std::string line(std::size_t index) const override { return lines_.at(index); }

private:
    std::string title_;
    std::string key_;
    std::vector<std::string> lines_;
};

}  // namespace lyro
