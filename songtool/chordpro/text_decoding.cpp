// Decoding song files into Windows-1252; see text_decoding.h.
#include "songtool/chordpro/text_decoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "library/book_charset.h"
#include "songtool/chordpro/unicode_letters.h"

namespace lyro {

namespace {

// Writes characters into Windows-1252 one at a time, keeping what became
// of each.
class Writer {
public:
    void put(char32_t c) {
        if (const auto byte = cp1252_byte(c)) return push(*byte, Fate::kept, c);
        if (is_combining_mark(c)) return put_mark(c);
        if (const auto plain = is_letter(c) ? plain_letter(c) : std::nullopt) {
            return push(*plain, Fate::plain_letter, c);
        }
        push('?', is_letter(c) ? Fate::unwritable_letter : Fate::unwritable_other, 0);
        ++out_.replaced;
    }

    Cp1252Text done() && {
        if (std::all_of(out_.fates.begin(), out_.fates.end(),
                        [](Fate f) { return f == Fate::kept; })) {
            out_.fates.clear();
        }
        return std::move(out_);
    }

private:
    void push(char byte, Fate fate, char32_t written) {
        out_.bytes += byte;
        out_.fates.push_back(fate);
        last_letter_ = is_letter(written) ? cp1252_char(static_cast<unsigned char>(byte)) : 0;
    }

    // A mark that decomposed text puts after its letter: the two become the
    // one letter Windows-1252 has for them (e and its acute, é), or the
    // letter alone. After a '?' the mark belongs to what '?' stands for.
    void put_mark(char32_t mark) {
        if (!out_.fates.empty() && out_.fates.back() == Fate::unwritable_letter) return;
        if (last_letter_ == 0) {
            push('?', Fate::unwritable_other, 0);
            ++out_.replaced;
            return;
        }
        if (const auto both = composed_letter(last_letter_, mark)) {
            out_.bytes.back() = *both;
            last_letter_ = cp1252_char(static_cast<unsigned char>(*both));
            return;
        }
        out_.fates.back() = Fate::plain_letter;
    }

    Cp1252Text out_;
    char32_t last_letter_ = 0;  // the letter just written, 0 after anything else
};

// One UTF-8 sequence at `at`: its character, and `at` moved past it.
// nullopt for a sequence that is not well-formed (overlong forms,
// surrogates and values past U+10FFFF included).
std::optional<char32_t> next_utf8(std::string_view s, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (s.size() - at < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    at += length;
    return c;
}

std::optional<Cp1252Text> from_utf8(std::string_view s) {
    Writer out;
    for (std::size_t at = 0; at < s.size();) {
        const auto c = next_utf8(s, at);
        if (!c) return std::nullopt;
        out.put(*c);
    }
    return std::move(out).done();
}

Cp1252Text from_utf16(std::string_view s, bool big_endian) {
    Writer out;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(s[i + 1]);
        return big_endian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < s.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        out.put(u);  // a lone surrogate has no Windows-1252 form: '?'
    }
    if (i < s.size()) out.put(0xFFFD);  // half a unit at the end
    return std::move(out).done();
}

bool starts_with_bytes(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

Cp1252Text decode_to_cp1252(std::string_view bytes) {
    if (starts_with_bytes(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (auto text = from_utf8(bytes)) return *text;
        return {std::string(bytes), {}, 0};
    }
    if (starts_with_bytes(bytes, "\xFF\xFE")) return from_utf16(bytes.substr(2), false);
    if (starts_with_bytes(bytes, "\xFE\xFF")) return from_utf16(bytes.substr(2), true);
    // Text that is valid UTF-8 is almost never meant as Windows-1252 (its
    // accented letters would have to come in exactly UTF-8's pairs).
    if (auto text = from_utf8(bytes)) return *text;
    return {std::string(bytes), {}, 0};
}

LetterCounts& LetterCounts::operator+=(const LetterCounts& other) {
    letters += other.letters;
    changed += other.changed;
    unwritable += other.unwritable;
    replaced += other.replaced;
    return *this;
}

LetterCounts count_letters(const Cp1252Text& text, std::string_view part) {
    LetterCounts counts;
    const auto first = static_cast<std::size_t>(part.data() - text.bytes.data());
    for (std::size_t i = 0; i < part.size(); ++i) {
        const Fate fate = text.fates.empty() ? Fate::kept : text.fates[first + i];
        switch (fate) {
            case Fate::kept:
                if (is_letter(cp1252_char(static_cast<unsigned char>(part[i])))) ++counts.letters;
                break;
            case Fate::plain_letter:
                ++counts.letters;
                ++counts.changed;
                break;
            case Fate::unwritable_letter:
                ++counts.letters;
                ++counts.unwritable;
                ++counts.replaced;
                break;
            case Fate::unwritable_other: ++counts.replaced; break;
        }
    }
    return counts;
}

}  // namespace lyro
