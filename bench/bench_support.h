// What the benchmarks share: timing, the yardstick of a plain scan, and
// stand-ins for the song box, the labels and the print surface that keep
// what they are given out of the figures.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/song_box.h"
#include "library/text_label.h"
#include "platform/c_file.h"
#include "print/print_surface.h"

namespace bench {

inline double millis(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The median of `runs` timings of `work`, in milliseconds.
inline double median_ms(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(millis(work));
    return median(times);
}

// What every reader has to beat: read the file, count its line ends.
inline std::size_t plain_scan(const std::string& path) {
    lyro::CFile file = lyro::open_c_file(path, "rb");
    if (!file) return 0;
    std::vector<char> buf(64 * 1024);
    std::size_t lines = 0;
    std::size_t got = 0;
    while ((got = std::fread(buf.data(), 1, buf.size(), file.get())) > 0)
        lines += static_cast<std::size_t>(std::count(buf.data(), buf.data() + got, '\n'));
    return lines;
}

class NullBox final : public lyro::SongBox {
public:
    void reset() override { items.clear(); }
    void add(std::string_view title) override { items.emplace_back(title); }
    std::vector<std::string> items;
};

class NullLabel final : public lyro::TextLabel {
public:
    void set_text(std::string_view text) override { last = text; }
    std::string last;
};

// Counts pages and draws; prints nothing.
class CountingSurface final : public lyro::PrintSurface {
public:
    long pages = 0;
    long texts = 0;
    std::unique_ptr<lyro::PrintJob> start_job(std::string_view, lyro::OwnerWindow) override {
        return std::make_unique<Job>(*this);
    }

private:
    class Job final : public lyro::PrintJob {
    public:
        explicit Job(CountingSurface& s) : s_(s) {}
        const lyro::PrintMeasures& measures() const override { return m_; }
        void create_font() override {}
        void select_font() override {}
        void restore_font() override {}
        void delete_font() override {}
        void start_page() override { ++s_.pages; }
        void end_page() override {}
        void text(int, int, std::string_view) override { ++s_.texts; }
        void end() override {}

    private:
        CountingSurface& s_;
        lyro::PrintMeasures m_{100, 112, 4800, 6600, 600, 600};
    };
};

}  // namespace bench
