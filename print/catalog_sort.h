// Sorting the catalog for the songbook printout's index.
#pragma once

#include "library/catalog.h"

namespace lyro {

// Puts the catalog's entries in ascending order of their bytes read as
// unsigned values, a title that is the start of a longer one first: blanks
// first, then "/" (hidden songs) and digits, capitals, small letters, and
// bytes above 127 last. Equal titles stay as they are.
void sort_catalog(Catalog& catalog);

}  // namespace lyro
