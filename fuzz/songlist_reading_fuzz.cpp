// The songlist reader on arbitrary bytes: whatever the file holds, the list
// keeps to its 32 places, no title grows beyond 99 characters, and the
// list box shows only what the file named.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "library/data_files.h"
#include "perflist/perf_list.h"
#include "perflist/songlist_file.h"
#include "tests/perflist/list_fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lyro;
    fuzz::write_input("songlist.txt", std::string(reinterpret_cast<const char*>(data), size));
    DataFiles paths;
    paths.dir = fuzz::scratch().path();
    PerfList list;
    test::FakeListBox box;
    test::ScriptedPrompter prompter;
    test::CountingBeeper beeper;
    fuzz::require(load_songlist(list, box, prompter, beeper, paths), "a songlist file is read");
    fuzz::require(list.length >= 0 && list.length <= kListPlaces, "the list has 0 to 32 places");
    for (const ListEntry& entry : list.entries)
        fuzz::require(entry.title.size() <= kListTitleMax, "a title holds at most 99 characters");
    for (const std::string& item : box.items)
        fuzz::require(item.size() <= kListTitleMax, "the list box shows titles of 99 characters at most");
    return 0;
}
