// The response header byte for byte, and the page read as stored.
#include <gtest/gtest.h>

#include <string>

#include "server/http_response.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::ScratchDir;

TEST(Response, HeaderIsExactAnd62BytesPlusTheDigitsOfTheSize) {
    struct Row {
        std::size_t page_size;
        const char* size_text;
    };
    const Row rows[] = {{0, "0"}, {9, "9"}, {10, "10"}, {12345, "12345"}, {40000, "40000"}};
    std::string response;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.size_text);
        const std::string page(row.page_size, 'p');
        build_response(page, response);
        const std::string header = std::string("HTTP/1.1 200 OK\r\nContent-length: ") +
                                   row.size_text + "\r\nContent-Type: text/html\r\n\r\n";
        EXPECT_EQ(header.size(), 62 + std::string(row.size_text).size());
        EXPECT_EQ(response, header + page);
    }
}

TEST(Response, PageBytesFollowTheHeaderExactlyAsGiven) {
    const std::string page("<p>a\r\nb\rc\nd\0e\xff</p>\r\n", 20);
    std::string response;
    build_response(page, response);
    EXPECT_EQ(response,
              "HTTP/1.1 200 OK\r\nContent-length: 20\r\nContent-Type: text/html\r\n\r\n" + page);
}

TEST(PageFile, IsReadWholeAndUnchangedOrNotAtAll) {
    ScratchDir dir;
    std::string page = "leftover";
    EXPECT_FALSE(read_page(dir.file("index.html"), page));
    EXPECT_EQ(page, "");

    std::string stored("<html>\r\n\0\x1a", 10);
    stored += std::string(200 * 1024, 'x');  // more than one read
    test::write_file(dir.file("index.html"), stored);
    EXPECT_TRUE(read_page(dir.file("index.html"), page));
    EXPECT_EQ(page, stored);

    test::write_file(dir.file("index.html"), "");
    EXPECT_TRUE(read_page(dir.file("index.html"), page));
    EXPECT_EQ(page, "");
}

}  // namespace
}  // namespace lyro
