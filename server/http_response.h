// The one answer the song server gives to every request: status 200 and the
// remote page as stored, with a header that browsers of every age accept.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

// Reads the whole page file into `page` (binary, no line-end changes).
// False, with `page` empty, when the file is missing or cannot be read.
bool read_page(const std::string& path, std::string& page);

// Puts the response for `page` into `response`: "HTTP/1.1 200 OK",
// "Content-length: <size>" and "Content-Type: text/html", each ended by
// CR LF, an empty line, then the page's bytes. The string's storage is
// reused from call to call.
void build_response(std::string_view page, std::string& response);

}  // namespace lyro
