// The catalog sort: ascending unsigned byte order, prefixes first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/catalog_sort.h"

namespace lyro {
namespace {

using Titles = std::vector<std::string>;

Titles sorted(Titles titles) {
    Catalog catalog{std::move(titles)};
    sort_catalog(catalog);
    return catalog.entries;
}

TEST(CatalogSort, OrdersByUnsignedBytes) {
    struct Row {
        Titles in;
        Titles out;
    };
    const Row rows[] = {
        {{"zebra", "Apple", "/hidden"}, {"/hidden", "Apple", "zebra"}},
        {{"b", " lead", "9 Lives", "A"}, {" lead", "9 Lives", "A", "b"}},
        {{"Abc", "Ab", "A"}, {"A", "Ab", "Abc"}},             // a prefix first
        {{"\xe9t\xe9", "zz", "\x7f"}, {"zz", "\x7f", "\xe9t\xe9"}},  // bytes above 127 last
        {{"Same", "Other", "Same"}, {"Other", "Same", "Same"}},
        {{"", "x", ""}, {"", "", "x"}},
        {{}, {}},
    };
    for (const Row& row : rows) EXPECT_EQ(sorted(row.in), row.out);
}

}  // namespace
}  // namespace lyro
