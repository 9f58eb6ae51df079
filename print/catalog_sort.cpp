// The catalog sort.
#include "print/catalog_sort.h"

#include <algorithm>

namespace lyro {

void sort_catalog(Catalog& catalog) {
    // std::string compares through char_traits<char>, which orders bytes as
    // unsigned char and puts a prefix first: exactly the order wanted, and
    // since equal titles are indistinguishable, any sort gives the same list.
    std::ranges::sort(catalog.entries);
}

}  // namespace lyro
