// The remote page as a real browser shows it: Debian's Chromium, headless,
// loads the page from the song server on 127.0.0.1 and hands back the
// document it built (--dump-dom). The list page must show every title as
// written, markup characters included, and the song page the transposed
// chord line above its lyric line in the columns of the viewer's lines.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "library/current_song.h"
#include "platform/child_process.h"
#include "remote/remote_page.h"
#include "tests/platform/memory_profile.h"
#include "tests/server/live_server.h"
#include "tests/test_files.h"
#include "transpose/transpose_song.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;

constexpr const char* kChromium = "/usr/bin/chromium";

// The document Chromium made of the page at `port`, or "" when it did not
// finish within a minute.
std::string browser_document(const test::ScratchDir& dir, std::uint16_t port) {
    ChildSetup setup;
    setup.program = kChromium;
    // Without the background services the browser makes no connection of its
    // own, which a closed network would refuse many times over.
    setup.arguments = {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                       "--no-first-run", "--disable-background-networking",
                       "--disable-component-update", "--disable-sync",
                       "--user-data-dir=" + dir.file("browser-profile"), "--dump-dom",
                       "http://127.0.0.1:" + std::to_string(port) + "/"};
    setup.working_dir = dir.path().string();
    setup.stdout_path = dir.file("dom.html");
    setup.stderr_path = dir.file("browser-errors.txt");
    ChildProcess browser(setup);
    if (!browser.started() || browser.wait_for(60s) != 0) return {};
    return test::read_file(setup.stdout_path);
}

// The text a reader sees: tags dropped, the entities the serialiser writes
// turned back into their characters.
std::string visible_text(std::string_view dom) {
    std::string text;
    bool in_tag = false;
    for (std::size_t i = 0; i < dom.size(); ++i) {
        const char c = dom[i];
        if (in_tag) {
            in_tag = c != '>';
        } else if (c == '<') {
            in_tag = true;
        } else if (c == '&') {
            static const std::pair<std::string_view, char> entities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&nbsp;", ' '}, {"&quot;", '"'}};
            bool known = false;
            for (const auto& [name, ch] : entities)
                if (dom.substr(i, name.size()) == name) {
                    text += ch;
                    i += name.size() - 1;
                    known = true;
                    break;
                }
            if (!known) text += c;
        } else {
            text += c;
        }
    }
    return text;
}

std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find('\n', start)) != std::string_view::npos; start = at + 1)
        lines.emplace_back(text.substr(start, at - start));
    lines.emplace_back(text.substr(start));
    return lines;
}

class BrowserPage : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kChromium))
            GTEST_SKIP() << "Chromium is not installed (scripts/packages.sh test installs it)";
    }
    std::string page() const { return dir.file("index.html"); }
    // What the browser shows of the page as it is now.
    std::string shown() {
        test::LiveServer server(dir, profile);
        EXPECT_NE(server.port(), 0);
        const std::string dom = browser_document(dir, server.port());
        EXPECT_FALSE(dom.empty()) << test::read_file(dir.file("browser-errors.txt"));
        return dom;
    }

    test::ScratchDir dir;
    test::MemoryProfile profile;
};

TEST_F(BrowserPage, TheListPageShowsEveryTitleAsWrittenMarkupCharactersIncluded) {
    const std::vector<std::string> titles = {"AMAZING GRACE", "ROCK & ROLL <b>HYMN</b>",
                                             "A<B & C>D", "BE THOU MY VISION"};
    ListPageWriter writer(page());
    writer.begin_list_page();
    for (const auto& t : titles) writer.add_list_page_entry(t);
    writer.finish_list_page();

    const std::string dom = shown();
    const std::string text = visible_text(dom);
    for (const auto& t : titles) EXPECT_NE(text.find(t), std::string::npos) << t << "\n" << dom;
    // The browser made no element of the title's markup.
    EXPECT_EQ(dom.find("<b>HYMN"), std::string::npos) << dom;
}

TEST_F(BrowserPage, TheSongPageKeepsTheTransposedChordsAboveTheirWords) {
    CurrentSong song;
    song.title = "AMAZING GRACE";
    song.raw = {" ", "G          C     G<", "Amazing grace, how sweet the sound",
                "  D7    Em   & more<", "That saved a wretch like me"};
    song.line_count = song.raw.size();
    transpose_song(song, 2);
    ASSERT_EQ(song.display[1].find('A'), 0u);  // G two half steps up
    write_song_page(page(), song.title, song.display, song.line_count);

    const std::string dom = shown();
    const auto pre_start = dom.find("<pre>");
    const auto pre_end = dom.find("</pre>");
    ASSERT_NE(pre_start, std::string::npos) << dom;
    ASSERT_NE(pre_end, std::string::npos) << dom;
    std::vector<std::string> shown_lines =
        lines_of(visible_text(dom.substr(pre_start + 5, pre_end - pre_start - 5)));
    // The browser drops the line break that opens a <pre>.
    ASSERT_GE(shown_lines.size(), song.line_count);
    for (std::size_t i = 0; i < song.line_count; ++i)
        EXPECT_EQ(shown_lines[i], song.display[i]) << "line " << i << "\n" << dom;
    EXPECT_NE(visible_text(dom).find("AMAZING GRACE"), std::string::npos);
}

}  // namespace
}  // namespace lyro
