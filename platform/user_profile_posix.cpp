// The user's profile natively: the WIN.INI of the Wine prefix that the
// user's Windows programs run in, so that a native songserv and songdesk
// under Wine share one section.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/ini_file_profile.h"
#include "platform/profile_store.h"

namespace lyro {

namespace {

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

std::string wine_prefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    return home_folder() + "/.wine";
}

}  // namespace

std::unique_ptr<ProfileStore> open_user_profile(std::string_view section) {
    return std::make_unique<IniFileProfile>(wine_prefix() + "/drive_c/windows/win.ini", section);
}

}  // namespace lyro
