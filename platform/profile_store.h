// The per-user profile section through which songdesk, songserv and outside
// tools coordinate: whether the server should stop, whether it runs, and
// which performance-list entry someone asked to show. On Windows it is the
// user's WIN.INI through the profile calls; natively it is the WIN.INI of
// the Wine prefix, so that a native songserv and songdesk under Wine read
// each other's writes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lyro {

inline constexpr std::string_view kProfileSection = "LYROVANT";
// "1" asks the server to stop after the connection it serves next.
inline constexpr std::string_view kTerminateKey = "TERMINATE";
// "1" while the server loop runs, "0" after an orderly stop.
inline constexpr std::string_view kRunningKey = "RUNNING";
// A 0-based performance-list position that an outside party wants shown.
inline constexpr std::string_view kSongRequestKey = "SONGREQUEST";
// The stage view's port on songserv: 8080 when missing, 0 for none.
inline constexpr std::string_view kStagePortKey = "STAGEPORT";

// One section of a profile. Reads and writes report no errors to the user:
// a read that fails gives the fallback, a write that fails returns false.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The key's value as an integer, read as the Windows profile reads it:
    // `fallback` when the section or key is missing or the value is empty,
    // otherwise the decimal number that the value begins with (blanks and
    // one pair of quotes around it ignored), and 0 when it begins with text.
    virtual int read_int(std::string_view key, int fallback) const = 0;

    // Sets the key to `value`, creating the section and key when missing.
    virtual bool write_string(std::string_view key, std::string_view value) = 0;
};

// The section of the user's own profile: WIN.INI on Windows; natively
// drive_c/windows/win.ini in $WINEPREFIX, or in ~/.wine when it is unset.
std::unique_ptr<ProfileStore> open_user_profile(std::string_view section);

}  // namespace lyro
