// Opening a file for reading without standing in the way of its writer: on
// Windows the file may be replaced or deleted while it is open (the reader
// keeps the bytes it opened), as it always may be elsewhere.
#pragma once

#include <string>

#include "platform/c_file.h"

namespace lyro {

// Opens `path` for reading in binary mode; empty on failure.
CFile open_for_shared_reading(const std::string& path);

}  // namespace lyro
