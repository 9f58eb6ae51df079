// A static text control that the library code writes into: the library
// dialog's status label 4025 and its count label 4044.
#pragma once

#include <string_view>

namespace lyro {

class TextLabel {
public:
    virtual ~TextLabel() = default;
    virtual void set_text(std::string_view text) = 0;
};

}  // namespace lyro
