// The stage port's answers; see stage_http.h.
#include "server/stage_http.h"

namespace lyro {

namespace {

std::string answer(std::string_view status, std::string_view type, std::string_view body,
                   bool head, std::string_view extra = {}) {
    std::string text;
    text.reserve(body.size() + 200);
    text.append("HTTP/1.1 ").append(status).append("\r\n");
    text.append("Content-Type: ").append(type).append("\r\n");
    text.append("Content-Length: ").append(std::to_string(body.size())).append("\r\n");
    text.append("Cache-Control: no-store\r\n").append(extra).append("Connection: close\r\n\r\n");
    if (!head) text.append(body);
    return text;
}

// The path without its query.
std::string_view path_of(std::string_view target) {
    return target.substr(0, target.find('?'));
}

}  // namespace

StageRequest stage_request(std::string_view request) {
    const std::string_view line = request.substr(0, request.find_first_of("\r\n"));
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) return {};
    const std::string_view method = line.substr(0, space);
    std::string_view rest = line.substr(space + 1);
    const std::size_t end = rest.find(' ');
    const std::string_view target = rest.substr(0, end);
    if (target.empty() || target.front() != '/' ||
        (end != std::string_view::npos && rest.substr(end + 1).substr(0, 5) != "HTTP/"))
        return {};
    const bool head = method == "HEAD";
    if (method != "GET" && !head) return {StageTarget::not_allowed, false};
    const std::string_view path = path_of(target);
    if (path == "/") return {StageTarget::page, head};
    if (path == "/events") return {StageTarget::events, head};
    return {StageTarget::not_found, head};
}

std::string stage_answer(const StageRequest& request) {
    constexpr std::string_view kText = "text/plain; charset=utf-8";
    switch (request.target) {
    case StageTarget::page:
        return answer("200 OK", "text/html; charset=utf-8", kStagePage, request.head);
    case StageTarget::events:  // only for HEAD; GET opens the stream
        return answer("200 OK", "text/event-stream", {}, true);
    case StageTarget::not_found:
        return answer("404 Not Found", kText, "Not found: the stage view is at /\n", request.head);
    case StageTarget::not_allowed:
        return answer("405 Method Not Allowed", kText, "Only GET and HEAD are answered here\n",
                      false, "Allow: GET, HEAD\r\n");
    case StageTarget::bad_request: break;
    }
    return answer("400 Bad Request", kText, "Bad request\n", false);
}

std::string stage_stream_opening() {
    return "HTTP/1.1 200 OK\r\n"
           "Content-Type: text/event-stream; charset=utf-8\r\n"
           "Cache-Control: no-store\r\n"
           "Connection: keep-alive\r\n"
           "X-Accel-Buffering: no\r\n"
           "\r\n"
           "retry: 1000\n\n";
}

}  // namespace lyro
