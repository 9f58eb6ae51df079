// The machine's own IPv4 addresses, for telling the band where to point
// their browsers.
#pragma once

#include <string>
#include <vector>

namespace lyro {

// The IPv4 addresses of the machine's network interfaces that are up, in
// dotted form, loopback left out (no other device can reach it); just
// "127.0.0.1" when there is no other.
std::vector<std::string> local_ipv4_addresses();

}  // namespace lyro
