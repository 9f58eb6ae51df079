// The library dialog's "Print Songbook": the catalog sorted, then the whole
// songbook printed with its index through the print dialog.
#pragma once

#include <windows.h>

#include "ui/desk_state.h"

namespace lyro {

void print_whole_songbook(DeskState& state, HWND owner);

}  // namespace lyro
