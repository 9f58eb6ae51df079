// A songbook for a first start: two comment lines, a line of free text and
// one example song that shows the file's format to a new user.
#pragma once

#include <string>
#include <string_view>

#include "library/data_files.h"
#include "platform/save_files.h"

namespace lyro {

enum class CreateResult {
    created,
    already_exists,  // a songbook is there already: it is left alone
    not_written,     // the folder would not take the file
};

// Creates songbook.lyr through temp.lyr, so that it appears whole or not at
// all; an existing songbook is never overwritten.
CreateResult create_songbook(SaveFiles& files, const DataFiles& paths);

// The bytes that create_songbook writes.
std::string new_songbook_text();

// What to tell the user when the songbook could not be created ("" for
// `created`).
std::string_view create_message(CreateResult result);

}  // namespace lyro
