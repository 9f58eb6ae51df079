// The main window's message boxes; see main_commands.h.
// Winsock's header must come before windows.h.
#include <winsock2.h>

#include "ui/main_commands.h"

#include <string>

#include "ui/desk_texts.h"
#include "ui/win_controls.h"

namespace lyro {

namespace {

constexpr std::size_t kAddressTextMax = 511;  // a 512-byte buffer

// Winsock started for one lookup and cleaned up after it.
class WinsockSession {
public:
    WinsockSession() { ok_ = WSAStartup(0x0101, &data_) == 0; }
    ~WinsockSession() {
        if (ok_) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool ok() const { return ok_; }

private:
    WSADATA data_{};
    bool ok_ = false;
};

}  // namespace

void show_version(HWND owner) { tell(owner, texts::kVersion, texts::kVersionCaption); }

void show_setup(HWND owner) { tell(owner, texts::kSetup, texts::kSetupCaption); }

void show_about(HWND owner) { tell(owner, texts::kAbout, texts::kAboutCaption); }

std::string host_address_text() {
    WinsockSession winsock;
    if (!winsock.ok()) return {};
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    const hostent* host = gethostbyname(name);
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list == nullptr) return {};
    std::string text;
    for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
        in_addr address{};
        memcpy(&address, *entry, sizeof address);
        const std::string piece = std::string(inet_ntoa(address)) + " ";
        if (text.size() + piece.size() > kAddressTextMax) break;
        text += piece;
    }
    return text;
}

void show_ip_addresses(HWND owner) { tell(owner, host_address_text(), texts::kIpCaption); }

void show_folder_location(HWND owner) {
    const std::string folder = current_folder();
    tell(owner, folder, texts::kFolderCaption);
    if (folder.size() >= 2 && (folder[0] == 'j' || folder[0] == 'J') && folder[1] == ':') {
        SetCurrentDirectoryA("c:\\");
        SetCurrentDirectoryA("c:\\kvdmusic");
    }
}

}  // namespace lyro
