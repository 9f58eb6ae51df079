// In-memory stand-ins for the library dialog's list box and message boxes,
// so the list operations run without a window.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "perflist/list_ui.h"
#include "perflist/perf_list.h"

namespace lyro::test {

// Behaves as an unsorted Win32 list box: items in the order added, one
// selection, LB_SETCURSEL outside the items selects nothing.
class FakeListBox final : public ListBox {
public:
    FakeListBox() = default;
    FakeListBox(std::initializer_list<std::string> titles) : items(titles) {}

    void add(std::string_view text) override { items.emplace_back(text); }
    void reset() override {
        items.clear();
        selected = -1;
    }
    int count() const override { return static_cast<int>(items.size()); }
    std::string text(int index) const override { return items.at(static_cast<std::size_t>(index)); }
    int selection() const override { return selected; }
    void select(int index) override { selected = index >= 0 && index < count() ? index : -1; }

    std::vector<std::string> items;
    int selected = -1;
};

struct Message {
    std::string text;
    std::string caption;
    bool operator==(const Message&) const = default;
};

// Answers questions from a script (then with `otherwise`), records every
// question and notice.
class ScriptedPrompter final : public Prompter {
public:
    bool ask(std::string_view text, std::string_view caption) override {
        questions.push_back({std::string(text), std::string(caption)});
        if (answers.empty()) return otherwise;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void notify(std::string_view text, std::string_view caption) override {
        notices.push_back({std::string(text), std::string(caption)});
    }

    std::deque<bool> answers;
    bool otherwise = true;
    std::vector<Message> questions;
    std::vector<Message> notices;
};

// The titles and key changes of places 1 .. list length.
inline std::vector<std::string> list_titles(const PerfList& list) {
    std::vector<std::string> titles;
    for (int i = 0; i < list.length; ++i)
        titles.push_back(list.entries[static_cast<std::size_t>(i)].title);
    return titles;
}

inline std::vector<int> list_keys(const PerfList& list) {
    std::vector<int> keys;
    for (int i = 0; i < list.length; ++i)
        keys.push_back(list.entries[static_cast<std::size_t>(i)].key_change);
    return keys;
}

// A list whose places hold `titles` with `keys`, shown in a list box.
inline PerfList make_list(const std::vector<std::string>& titles, const std::vector<int>& keys) {
    PerfList list;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        list.entries.at(i).title = titles[i];
        list.entries.at(i).key_change = i < keys.size() ? keys[i] : 0;
    }
    list.length = static_cast<int>(titles.size());
    return list;
}

// "T1", "T2", ...: the n-th of many titles.
inline std::string nth_title(int n) {
    std::string title = "T";
    title += std::to_string(n);
    return title;
}

using Titles = std::vector<std::string>;
using Keys = std::vector<int>;

}  // namespace lyro::test
