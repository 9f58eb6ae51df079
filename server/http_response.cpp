// Reading the page file and formatting the response.
#include "platform/c_file.h"
#include "platform/shared_reading.h"
#include "platform/whole_file.h"
#include "server/http_response.h"

#include <charconv>
#include <cstdio>
#include <memory>

namespace lyro {

bool read_page(const std::string& path, std::string& page) {
    page.clear();
    // Opened so that songdesk can put a new page in its place meanwhile.
    CFile f = open_for_shared_reading(path);
    if (!f) return false;
    // The size is what was read, not what the folder said a moment ago:
    // the page may be rewritten while it is read.
    if (!read_to_end(f.get(), page)) {
        page.clear();
        return false;
    }
    return true;
}

void build_response(std::string_view page, std::string& response) {
    char digits[24];
    const auto size = std::to_chars(digits, digits + sizeof digits, page.size()).ptr;
    response.assign("HTTP/1.1 200 OK\r\nContent-length: ");
    response.append(digits, size);
    response.append("\r\nContent-Type: text/html\r\n\r\n");
    response.append(page);
}

}  // namespace lyro
