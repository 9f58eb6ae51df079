// Print Songbook; see library_print.h.
#include "ui/library_print.h"

#include "print/catalog_sort.h"
#include "print/songbook_printout.h"
#include "ui/gdi_print_surface.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro {

void print_whole_songbook(DeskState& state, HWND owner) {
    sort_catalog(state.catalog);
    GdiPrintSurface surface;
    WinTextLabel status(state.windows.library ? GetDlgItem(state.windows.library, IDC_STATUS)
                                              : nullptr);
    WinBeeper beeper;
    print_songbook(surface, static_cast<OwnerWindow>(reinterpret_cast<std::uintptr_t>(owner)),
                   SongbookSources{state.catalog, state.files.songbook(), state.song, state.position,
                                   status, beeper});
}

}  // namespace lyro
