// The page that songdesk rewrites on every repaint, read by songserv at the
// same time: a browser gets the old page or the new one, whole, never an
// empty or half one; and a page that songserv holds open can still be
// replaced (on Windows too).
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/shared_reading.h"
#include "remote/remote_page.h"
#include "tests/platform/memory_profile.h"
#include "tests/server/http_client.h"
#include "tests/server/live_server.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::fetch;
using test::page_response;
using test::read_file;
using test::ScratchDir;

constexpr std::string_view kRequest = "GET / HTTP/1.1\r\nHost: projector\r\n\r\n";

const std::vector<std::string> kShortSong = {" ", "G        C<", "Amazing grace"};
const std::vector<std::string> kLongSong(
    2000, "Amazing grace, how sweet the sound, that saved a wretch like me");

// The bytes of one song page, as the writer makes it.
std::string song_page(const ScratchDir& dir, const char* title,
                      const std::vector<std::string>& lines) {
    const std::string path = dir.file("sample.html");
    write_song_page(path, title, lines, lines.size());
    return read_file(path);
}

TEST(PageRewrite, EveryPageFetchedWhileTheViewerRepaintsIsOneWholePage) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    const std::string short_page = song_page(dir, "SHORT", kShortSong);
    const std::string long_page = song_page(dir, "LONG", kLongSong);
    ASSERT_GT(long_page.size(), 100000u);  // larger than one read of the server
    write_song_page(page, "SHORT", kShortSong, kShortSong.size());

    test::MemoryProfile profile;
    test::LiveServer server(dir, profile);
    ASSERT_NE(server.port(), 0);
    std::atomic<bool> painting = true;
    std::atomic<int> repaints = 0;
    std::thread viewer([&] {
        while (painting) {
            write_song_page(page, "LONG", kLongSong, kLongSong.size());
            write_song_page(page, "SHORT", kShortSong, kShortSong.size());
            repaints += 2;
        }
    });
    int shorts = 0, longs = 0;
    for (int i = 0; i < 120; ++i) {
        const test::Reply reply = fetch(server.port(), kRequest);
        if (reply.bytes == page_response(short_page)) {
            ++shorts;
        } else if (reply.bytes == page_response(long_page)) {
            ++longs;
        } else {
            ADD_FAILURE() << "fetch " << i << " got " << reply.bytes.size()
                          << " bytes: neither page whole";
        }
    }
    painting = false;
    viewer.join();
    EXPECT_GT(repaints.load(), 0);
    EXPECT_EQ(shorts + longs, 120);
    // No scratch file is left once the painting stops.
    EXPECT_FALSE(std::filesystem::exists(page + ".new"));
}

TEST(PageRewrite, AListPageIsServedOnlyOnceItIsFinished) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    write_song_page(page, "SHORT", kShortSong, kShortSong.size());
    const std::string before = read_file(page);
    test::MemoryProfile profile;
    test::LiveServer server(dir, profile);

    ListPageWriter writer(page);
    writer.begin_list_page();
    writer.add_list_page_entry("AMAZING GRACE");
    EXPECT_EQ(fetch(server.port(), kRequest).bytes, page_response(before));
    writer.add_list_page_entry("BLESSED ASSURANCE");
    writer.finish_list_page();
    const std::string after = read_file(page);
    EXPECT_NE(after.find("2 - BLESSED ASSURANCE"), std::string::npos);
    EXPECT_EQ(fetch(server.port(), kRequest).bytes, page_response(after));
}

// Natively the page is replaced while it is read. Windows refuses to replace
// an open file: the old page then stays whole, and the first rewrite after
// the reader has let go puts the new one in place.
TEST(PageRewrite, APageHeldOpenForReadingIsNeverTornAndIsReplacedOnceLetGo) {
    ScratchDir dir;
    const std::string page = dir.file("index.html");
    write_song_page(page, "LONG", kLongSong, kLongSong.size());
    const std::string old_page = read_file(page);
    const std::string new_page = song_page(dir, "SHORT", kShortSong);
    CFile reader = open_for_shared_reading(page);
    ASSERT_TRUE(reader);

    write_song_page(page, "SHORT", kShortSong, kShortSong.size());
#ifdef _WIN32
    EXPECT_EQ(read_file(page), old_page);
#else
    EXPECT_EQ(read_file(page), new_page);
#endif
    EXPECT_FALSE(std::filesystem::exists(page + ".new"));
    // The reader goes on reading the page it opened, whole.
    std::string got(old_page.size() + 1, '\0');
    got.resize(std::fread(got.data(), 1, got.size(), reader.get()));
    EXPECT_EQ(got, old_page);
    reader.reset();

    write_song_page(page, "SHORT", kShortSong, kShortSong.size());
    EXPECT_EQ(read_file(page), new_page);
}

}  // namespace
}  // namespace lyro
