// What one catalog scan publishes for the network: the remote list page,
// and the same titles for the stage view's song list.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/catalog.h"
#include "remote/remote_page.h"

namespace lyro {

class ListPages final : public SongListSink {
public:
    explicit ListPages(std::string page_path) : page_(std::move(page_path)) {}

    void begin_list_page() override {
        page_.begin_list_page();
        titles_.clear();
    }
    void add_list_page_entry(std::string_view title) override {
        page_.add_list_page_entry(title);
        titles_.emplace_back(title);
    }
    void finish_list_page() override { page_.finish_list_page(); }

    // The titles listed so far, in the page's order.
    std::vector<std::string> take_titles() { return std::move(titles_); }

private:
    ListPageWriter page_;
    std::vector<std::string> titles_;
};

}  // namespace lyro
