// The remote page index.html that browsers on the network follow: the list
// page while the library is shown, the song page while a song is shown.
// Titles and lines are escaped (& < >) so that the browser shows them as
// written and a songbook cannot inject markup into the page.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/catalog.h"
#include "platform/c_file.h"

namespace lyro {

// Writes one list page. begin_list_page starts the new page beside the old
// one, which stays in place until the new one is finished (or released);
// when it cannot be created the other calls write nothing. Released before
// finish_list_page, the page holds what was written so far.
class ListPageWriter final : public SongListSink {
public:
    explicit ListPageWriter(std::string page_path) : path_(std::move(page_path)) {}
    ~ListPageWriter();
    ListPageWriter(ListPageWriter&&) noexcept = default;
    ListPageWriter& operator=(ListPageWriter&& other) noexcept;

    void begin_list_page() override;
    void add_list_page_entry(std::string_view title) override;
    void finish_list_page() override;

private:
    void write_pending();
    void release_page();  // puts what was written so far in the page's place

    std::string path_;
    CFile file_;
    std::string pending_;  // page text not yet handed to the file
    int next_number_ = 1;
};

// Rewrites the page as the song page: the title and the first `count`
// display lines, put in the old page's place in one step.
void write_song_page(const std::string& page_path, std::string_view title,
                     const std::vector<std::string>& lines, std::size_t count);

// The text with & < > written as &amp; &lt; &gt;.
std::string html_escaped(std::string_view text);

}  // namespace lyro
