// Reading one entry of the performance list, never beyond its length.
#include "perflist/perf_list.h"

namespace lyro {

const ListEntry* entry_at(const PerfList& list, int index) {
    if (index < 0 || index >= list.length || index >= kListPlaces) return nullptr;
    return &list.entries[static_cast<std::size_t>(index)];
}

ListEntry* entry_at(PerfList& list, int index) {
    return const_cast<ListEntry*>(entry_at(static_cast<const PerfList&>(list), index));
}

}  // namespace lyro
