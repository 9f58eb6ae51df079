// The catalog scan as the library dialog runs it, over a file of the fuzz
// target's scratch folder, with the song box and the labels in memory.
#pragma once

#include <string>

#include "fuzz/fuzz_support.h"
#include "library/catalog.h"
#include "remote/remote_page.h"
#include "tests/library/recording_song_box.h"

namespace lyro::fuzz {

struct CatalogScan {
    Catalog catalog;
    test::RecordingSongBox box;
};

inline void scan_catalog(const std::string& path, CatalogScan& scan) {
    test::RecordingLabel count;
    test::CountingBeeper beeper;
    ListPageWriter list_page(scratch().file("index.html"));
    build_catalog(path, true, scan.catalog, CatalogOutputs{scan.box, count, beeper, list_page});
}

}  // namespace lyro::fuzz
