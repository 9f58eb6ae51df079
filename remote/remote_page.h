// The remote page index.html that browsers on the network follow: the list
// page while the library is shown, the song page while a song is shown.
// Titles and lines are escaped (& < >) so that the browser shows them as
// written and a songbook cannot inject markup into the page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "library/catalog.h"

namespace lyro {

// Writes one list page. The page is built in memory from begin_list_page
// on and written whole at finish_list_page, beside the old one and then put
// in its place in one step; until then the old page stays as it was. A page
// begun and never finished (begun again, or the writer destroyed) is put in
// place as far as it got: a scan without a songbook leaves a page of its
// opening lines alone. When the page cannot be written, the old one stays.
class ListPageWriter final : public SongListSink {
public:
    explicit ListPageWriter(std::string page_path) : path_(std::move(page_path)) {}
    ~ListPageWriter();
    // The page begun moves to the new writer; the one moved from holds no
    // page, so that it has nothing to put in place.
    ListPageWriter(ListPageWriter&& other) noexcept;
    ListPageWriter& operator=(ListPageWriter&&) = delete;

    void begin_list_page() override;
    void add_list_page_entry(std::string_view title) override;
    void finish_list_page() override;

private:
    void put_page_in_place();  // the page begun, as far as it got

    std::string path_;
    std::string page_;  // the page begun, empty when none is
    int next_number_ = 1;
};

// Rewrites the page as the song page: the title and the first `count`
// display lines, put in the old page's place in one step.
void write_song_page(const std::string& page_path, std::string_view title,
                     const std::vector<std::string>& lines, std::size_t count);

// The text with & < > written as &amp; &lt; &gt;.
std::string html_escaped(std::string_view text);

}  // namespace lyro
