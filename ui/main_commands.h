// The main window's own message boxes: version, setup, about, the host's
// addresses and the folder location.
#pragma once

#include <windows.h>

#include <string>

namespace lyro {

void show_version(HWND owner);
void show_setup(HWND owner);
void show_about(HWND owner);

// The host's IPv4 addresses, each followed by one blank, in lookup order,
// cut so that the text fits 511 characters (an address that does not fit
// whole is left off). Empty when Winsock, the name or the lookup fails.
std::string host_address_text();
void show_ip_addresses(HWND owner);

// Shows the current folder; when it is on drive J, moves to c:\kvdmusic.
void show_folder_location(HWND owner);

}  // namespace lyro
