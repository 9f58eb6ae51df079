// The profile reader and writer on arbitrary WIN.INI bytes: a value written
// is read back, reading never fails, and the write changes one line (or
// adds the key, and its section when missing) and leaves every other line
// as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/ini_text.h"

namespace {

using namespace lyro;

std::size_t count_of(std::string_view text, char c) {
    std::size_t n = 0;
    for (char x : text) n += x == c;
    return n;
}

// The part of `after` that differs from `before`, and the part of `before`
// it took the place of: what is left once their common start and end are
// taken off.
std::pair<std::string_view, std::string_view> changed_parts(std::string_view before,
                                                            std::string_view after) {
    std::size_t start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start]) ++start;
    std::size_t end = 0;
    while (end < before.size() - start && end < after.size() - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {before.substr(start, before.size() - start - end),
            after.substr(start, after.size() - start - end)};
}

// A value that the reader gives back as it is: no blanks around it and no
// quotes that it would take off.
bool reads_back_as_is(std::string_view v) {
    if (!v.empty() && (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t'))
        return false;
    return !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const std::string value = in.ConsumeRandomLengthString(24);
    const std::string other_key = in.ConsumeRandomLengthString(16);
    const std::string text = in.ConsumeRemainingBytesAsString();

    // Reading anything gives a value or nothing, and a number.
    profile_int(ini_value(text, section, key), 7);
    if (!is_ini_name(section) || !is_ini_name(key) || !is_ini_value(value)) return 0;

    const std::string written = ini_with_value(text, section, key, value);
    const auto read = ini_value(written, section, key);
    fuzz::require(read.has_value(), "a key written is found");
    if (reads_back_as_is(value)) fuzz::require(*read == value, "a value written reads back");

    const auto [old_part, new_part] = changed_parts(text, written);
    fuzz::require(count_of(old_part, '\n') == 0, "no line but the key's is changed");
    fuzz::require(count_of(new_part, '\n') <= 3, "at most the key, its section and a line end are added");
    // A key that differs in more than case has the value it had.
    if (other_key.size() != key.size() && is_ini_name(other_key))
        fuzz::require(ini_value(written, section, other_key) == ini_value(text, section, other_key),
                      "another key of the section keeps its value");
    return 0;
}
