// Removing markup from song text; see markup.h.
#include "songtool/chordpro/markup.h"

#include <array>

namespace lyro {

namespace {

bool opens_tag(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size()) return false;
    const char next = text[at + 1];
    return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' ||
           next == '!';
}

// The end of the tag that starts at `at` (the position after its '>'), or
// `at` when no '>' closes it before the next '<'.
std::size_t tag_end(std::string_view text, std::size_t at) {
    if (!opens_tag(text, at)) return at;
    const std::size_t close = text.find_first_of("<>", at + 1);
    return close != std::string_view::npos && text[close] == '>' ? close + 1 : at;
}

constexpr std::array<std::pair<std::string_view, char>, 6> kEntities{{
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'},
    {"&quot;", '"'}, {"&apos;", '\''}, {"&nbsp;", ' '},
}};

// The entity that starts `text`, if any.
const std::pair<std::string_view, char>* entity_at(std::string_view text) {
    for (const auto& entity : kEntities) {
        if (text.starts_with(entity.first)) return &entity;
    }
    return nullptr;
}

std::string with_entities(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto* entity = text[i] == '&' ? entity_at(text.substr(i)) : nullptr;
        if (entity == nullptr) {
            out += text[i];
            continue;
        }
        out += entity->second;
        i += entity->first.size() - 1;
    }
    return out;
}

}  // namespace

std::string with_entities_kept(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool begins_entity = text[i] == '&' && entity_at(text.substr(i)) != nullptr;
        out += begins_entity ? std::string_view("&amp;") : text.substr(i, 1);
    }
    return out;
}

std::string without_markup(std::string_view text) {
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t end = text[i] == '<' ? tag_end(text, i) : i;
        if (end == i) {
            kept += text[i];
        } else {
            i = end - 1;
        }
    }
    std::string out = with_entities(kept);
    for (char& c : out) {
        if (c == '<') c = kTextAngle;
    }
    return out;
}

}  // namespace lyro
