// The text of a WIN.INI-style file, read and updated as the Windows profile
// reads and writes it, so that native code and Wine's profile calls share
// one file: "[SECTION]" lines, "KEY=value" lines, names matched without
// regard to case or surrounding blanks, the first matching section and the
// first matching key counting. Lines end in LF or CR LF; new lines are
// written with CR LF, as Wine writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lyro {

// The value of `key` in `section`: blanks around it and one pair of
// matching quotes (" or ') removed. Empty when the key has no value;
// nullopt when the section or key is missing.
std::optional<std::string> ini_value(std::string_view text, std::string_view section,
                                     std::string_view key);

// An integer read from a value found by ini_value: `fallback` for a missing
// or empty value; otherwise an optional sign and the decimal digits that
// follow, 0 when no digit follows. Like the Windows profile, a number too
// large for 32 bits wraps around.
int profile_int(const std::optional<std::string>& value, int fallback);

// A section or key name that can be written and read back: not empty, no
// line break, '=', bracket or zero byte, no blanks at either end, no ';' in
// front.
bool is_ini_name(std::string_view name);
// A value that can be written: no line break and no zero byte.
bool is_ini_value(std::string_view value);

// `text` with `key` in `section` set to `value`. The first matching key's
// line is replaced; a missing key is added after the section's last line
// that is not blank; a missing section is added at the end. Every other
// byte of the text stays as it was. Names and value must pass the checks
// above.
std::string ini_with_value(std::string_view text, std::string_view section,
                           std::string_view key, std::string_view value);

}  // namespace lyro
