// The stage port's parts without sockets: which request gets which answer,
// and how a state of stage.json goes out as an event.
#include <gtest/gtest.h>

#include <string>

#include "server/stage_feed.h"
#include "server/stage_http.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

TEST(StageRequest, ThePageTheStreamAndEveryOtherPath) {
    struct Row {
        std::string request;
        StageTarget target;
        bool head;
    };
    const Row rows[] = {
        {"GET / HTTP/1.1\r\nHost: x\r\n\r\n", StageTarget::page, false},
        {"GET /?chords=off HTTP/1.1\r\n\r\n", StageTarget::page, false},
        {"HEAD / HTTP/1.0\r\n\r\n", StageTarget::page, true},
        {"GET /events HTTP/1.1\r\n\r\n", StageTarget::events, false},
        {"GET /events?x=1 HTTP/1.1\r\n\r\n", StageTarget::events, false},
        {"GET / \r\n\r\n", StageTarget::bad_request, false},
        {"GET /\n\n", StageTarget::page, false},
        {"GET /favicon.ico HTTP/1.1\r\n\r\n", StageTarget::not_found, false},
        {"GET /events/ HTTP/1.1\r\n\r\n", StageTarget::not_found, false},
        {"GET /index.html HTTP/1.1\r\n\r\n", StageTarget::not_found, false},
        {"POST / HTTP/1.1\r\n\r\n", StageTarget::not_allowed, false},
        {"get / HTTP/1.1\r\n\r\n", StageTarget::not_allowed, false},
        {"", StageTarget::bad_request, false},
        {"\r\n\r\n", StageTarget::bad_request, false},
        {"GET\r\n\r\n", StageTarget::bad_request, false},
        {"GET x HTTP/1.1\r\n\r\n", StageTarget::bad_request, false},
        {"GET / SPDY/9\r\n\r\n", StageTarget::bad_request, false},
        {std::string("GET /\0 HTTP/1.1\r\n\r\n", 20), StageTarget::not_found, false},
    };
    for (const Row& row : rows) {
        const StageRequest r = stage_request(row.request);
        EXPECT_EQ(r.target, row.target) << row.request;
        EXPECT_EQ(r.head, row.head) << row.request;
    }
}

TEST(StageRequest, AnswersCarryTheirLengthAndHeadOnlyTheHeader) {
    const std::string page = stage_answer({StageTarget::page, false});
    const std::string header_end = "\r\n\r\n";
    const std::size_t body = page.find(header_end) + header_end.size();
    EXPECT_EQ(page.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    EXPECT_NE(page.find("Content-Type: text/html; charset=utf-8\r\n"), std::string::npos);
    EXPECT_NE(page.find("Content-Length: " + std::to_string(kStagePage.size()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(page.substr(body), kStagePage);
    const std::string head = stage_answer({StageTarget::page, true});
    EXPECT_EQ(head, page.substr(0, body));
    EXPECT_EQ(stage_answer({StageTarget::not_found, false}).substr(0, 24), "HTTP/1.1 404 Not Found\r\n");
    EXPECT_NE(stage_answer({StageTarget::not_allowed, false}).find("Allow: GET, HEAD\r\n"),
              std::string::npos);
    EXPECT_EQ(stage_answer({}).substr(0, 26), "HTTP/1.1 400 Bad Request\r\n");
}

TEST(StagePage, IsOneSelfContainedPageThatFitsPhones) {
    EXPECT_EQ(kStagePage.substr(0, 15), "<!DOCTYPE html>");
    EXPECT_NE(kStagePage.find("name=\"viewport\""), std::string::npos);
    EXPECT_NE(kStagePage.find("<style>"), std::string::npos);
    EXPECT_NE(kStagePage.find("EventSource"), std::string::npos);
    // Nothing from the network: a church has none on stage.
    EXPECT_EQ(kStagePage.find("http://"), std::string::npos);
    EXPECT_EQ(kStagePage.find("https://"), std::string::npos);
    EXPECT_EQ(kStagePage.find("<!--STAGE_"), std::string::npos);
}

TEST(StageEvent, FramesTheFileAsItIsWithItsSeqAsTheId) {
    struct Row {
        std::string state;
        std::string event;
    };
    const Row rows[] = {
        {R"({"seq":12,"showing":"list"})", "id: 12\ndata: {\"seq\":12,\"showing\":\"list\"}\n\n"},
        {"{\"seq\":3}\r\n", "id: 3\ndata: {\"seq\":3}\n\n"},
        {"{\"seq\":3,\n\"a\":1}\n", "id: 3\ndata: {\"seq\":3,\ndata: \"a\":1}\n\n"},
        {"{\"a\":1,\"seq\":4}", "data: {\"a\":1,\"seq\":4}\n\n"},
        {"{ \"seq\" : 8,\"x\":1}", "id: 8\ndata: { \"seq\" : 8,\"x\":1}\n\n"},
        {"{\n  \"seq\": 9\n}", "id: 9\ndata: {\ndata:   \"seq\": 9\ndata: }\n\n"},
        {"{\"seq\" 9}", "data: {\"seq\" 9}\n\n"},
        {"{\"seq\":\"4\"}", "data: {\"seq\":\"4\"}\n\n"},
        {"{\"seq\":99999999999999999999999}", "data: {\"seq\":99999999999999999999999}\n\n"},
        {"not json\r\n\r\nat all", "data: not json\ndata: \ndata: at all\n\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(stage_event(row.state), row.event) << row.state;
}

TEST(StageFeed, ReadsAReplacedFileOnceAndSkipsWhatCannotBeAState) {
    const test::ScratchDir dir;
    const std::string path = dir.file("stage.json");
    StageFeed feed(path, 1000);
    EXPECT_FALSE(feed.refresh());  // missing
    EXPECT_EQ(feed.event(), nullptr);

    test::write_file(path, R"({"seq":1})");
    EXPECT_TRUE(feed.refresh());
    EXPECT_EQ(*feed.event(), "id: 1\ndata: {\"seq\":1}\n\n");
    EXPECT_EQ(feed.version(), 1u);
    EXPECT_FALSE(feed.refresh());  // nothing changed

    const auto last_good = feed.event();
    for (const std::string& bad : {std::string(), std::string(1001, 'x')}) {
        test::write_file(path, bad);
        std::filesystem::last_write_time(
            path, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(1));
        EXPECT_FALSE(feed.refresh()) << bad.size();
        EXPECT_EQ(feed.event(), last_good);
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(feed.refresh());
    EXPECT_EQ(feed.event(), last_good);

    // The same state written again is not news either.
    test::write_file(path, R"({"seq":1})");
    EXPECT_FALSE(feed.refresh());
    test::write_file(path, R"({"seq":2})");
    EXPECT_TRUE(feed.refresh());
    EXPECT_EQ(feed.version(), 2u);
}

}  // namespace
}  // namespace lyro
