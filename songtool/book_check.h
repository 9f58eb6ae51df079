// The songbook's traps: what the program will do with a songbook that its
// writer did not mean, each with the file's line and a one-line
// explanation.
#pragma once

#include "library/songbook.h"

#include <string>
#include <string_view>
#include <vector>

namespace lyro {

// Every trap of `book_bytes`, in line order, each as
// "line N: explanation".
std::vector<std::string> check_book(const Songbook& book);
std::vector<std::string> check_book(std::string_view book_bytes);

}  // namespace lyro
