// The machine's IPv4 addresses through the IP helper's adapter list.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include <algorithm>
#include <vector>

#include "platform/local_addresses.h"

namespace lyro {

namespace {

// The adapter list, asked for again when it grew between the two calls.
std::vector<unsigned char> adapter_list() {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        buffer.resize(size);
        const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                            GAA_FLAG_SKIP_DNS_SERVER;
        const ULONG r = GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        if (r == NO_ERROR) return buffer;
        if (r != ERROR_BUFFER_OVERFLOW) break;
    }
    return {};
}

}  // namespace

std::vector<std::string> local_ipv4_addresses() {
    std::vector<std::string> found;
    std::vector<unsigned char> buffer = adapter_list();
    const auto* a = buffer.empty() ? nullptr
                                   : reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
    for (; a; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
        for (auto* u = a->FirstUnicastAddress; u; u = u->Next) {
            const sockaddr* sa = u->Address.lpSockaddr;
            if (!sa || sa->sa_family != AF_INET) continue;
            const auto* in = reinterpret_cast<const sockaddr_in*>(sa);
            const unsigned long host = ntohl(in->sin_addr.s_addr);
            if ((host >> 24) == 127) continue;
            char text[INET_ADDRSTRLEN] = {};
            if (getnameinfo(sa, sizeof(sockaddr_in), text, sizeof text, nullptr, 0,
                            NI_NUMERICHOST) == 0 &&
                std::find(found.begin(), found.end(), text) == found.end())
                found.emplace_back(text);
        }
    }
    if (found.empty()) found.emplace_back("127.0.0.1");
    return found;
}

}  // namespace lyro
