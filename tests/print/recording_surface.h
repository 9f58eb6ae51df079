// A print surface that prints nothing but remembers everything: every page
// with the position and text of every draw, and the order of the job's
// calls. It also checks that the calls come in an order that a printer
// accepts (text only on a started page, a font selected only once created).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "print/print_surface.h"

namespace lyro::test {

struct DrawnText {
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const DrawnText&) const = default;
};

inline void PrintTo(const DrawnText& t, std::ostream* os) {
    *os << "(" << t.x << ", " << t.y << ", \"" << t.text << "\")";
}

using Page = std::vector<DrawnText>;

// Measures of a 600-dots-per-inch printer whose default font is 100 pixels
// high: a line step of 112 pixels, on a printable area 4800 pixels wide and
// tall enough for 61 lines below any heading (the lowest one ends at 7380).
inline PrintMeasures test_measures() {
    return {.line_height = 100, .line_step = 112, .page_width = 4800, .page_height = 8000,
            .left_margin = 600, .inch_height = 600};
}

// The same printer with a printable area only 1000 pixels tall.
inline PrintMeasures short_page_measures() {
    PrintMeasures m = test_measures();
    m.page_height = 1000;
    return m;
}

class RecordingSurface final : public PrintSurface {
public:
    explicit RecordingSurface(PrintMeasures m = test_measures()) : measures_(m) {}

    bool cancel = false;  // the user cancels the print dialog

    int dialogs_shown = 0;
    std::string document_name;
    OwnerWindow owner{};
    std::vector<Page> pages;          // every page started, in order
    std::vector<std::string> calls;   // the job's calls, texts as "text"
    bool job_released = false;        // the job object was destroyed
    bool page_open = false;
    bool font_created = false;
    bool font_selected = false;

    std::unique_ptr<PrintJob> start_job(std::string_view name, OwnerWindow own) override {
        ++dialogs_shown;
        document_name = name;
        owner = own;
        if (cancel) return nullptr;
        return std::make_unique<Job>(*this);
    }

private:
    class Job final : public PrintJob {
    public:
        explicit Job(RecordingSurface& s) : s_(s) {}
        ~Job() override { s_.job_released = true; }

        const PrintMeasures& measures() const override { return s_.measures_; }

        void create_font() override {
            call("create_font");
            EXPECT_FALSE(s_.font_created) << "font created twice";
            s_.font_created = true;
        }
        void select_font() override {
            call("select_font");
            EXPECT_TRUE(s_.font_created) << "font selected before it was created";
            s_.font_selected = true;
        }
        void restore_font() override {
            call("restore_font");
            EXPECT_TRUE(s_.font_selected) << "font restored without being selected";
            s_.font_selected = false;
        }
        void delete_font() override {
            call("delete_font");
            EXPECT_FALSE(s_.font_selected) << "font deleted while selected";
            s_.font_created = false;
        }
        void start_page() override {
            call("start_page");
            EXPECT_FALSE(s_.page_open) << "page started inside a page";
            s_.page_open = true;
            s_.pages.emplace_back();
        }
        void end_page() override {
            call("end_page");
            EXPECT_TRUE(s_.page_open) << "page ended without being started";
            s_.page_open = false;
        }
        void text(int x, int y, std::string_view text) override {
            if (s_.calls.empty() || s_.calls.back() != "text") call("text");
            EXPECT_TRUE(s_.page_open) << "text outside a page: " << text;
            EXPECT_TRUE(s_.font_selected) << "text drawn without the printout font";
            if (!s_.pages.empty()) s_.pages.back().push_back({x, y, std::string(text)});
        }
        void end() override {
            call("end");
            EXPECT_FALSE(s_.page_open) << "job ended inside a page";
        }

    private:
        void call(const char* name) { s_.calls.emplace_back(name); }
        RecordingSurface& s_;
    };

    PrintMeasures measures_;
};

// A page of `count` lines at the left margin, the first at `first_y`, one
// line step apart, with `line(i)` giving the i-th text.
template <typename LineText>
Page running_lines(int count, int first_y, LineText line) {
    Page page;
    for (int i = 0; i < count; ++i) page.push_back({600, first_y + i * 112, line(i)});
    return page;
}

}  // namespace lyro::test
