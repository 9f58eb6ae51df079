// What the stage port answers: the stage page at "/", the event stream at
// "/events", and 404 for every other path. Only the request line is read.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

enum class StageTarget {
    page,         // GET / (any query: ?chords=off is the page's own)
    events,       // GET /events
    not_found,    // any other path
    not_allowed,  // a method other than GET or HEAD
    bad_request,  // no request line that HTTP would accept
};

struct StageRequest {
    StageTarget target = StageTarget::bad_request;
    bool head = false;  // HEAD: the answer's header alone
};

// Reads the request line of `request` (the header as received).
StageRequest stage_request(std::string_view request);

// The whole answer for a request that is answered at once (every target
// but the event stream), ready to send before the connection closes.
std::string stage_answer(const StageRequest& request);

// The header that opens the event stream, with the browser's wait before
// reconnecting set to one second.
std::string stage_stream_opening();

// The page itself, built into the program (stage_page.cpp, made from the
// page's sources at build time), so that songserv stays one file and the
// stage needs no network beyond it.
extern const std::string_view kStagePage;

}  // namespace lyro
