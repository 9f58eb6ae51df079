// Questions and notices that the list operations put to the user. The UI
// shows them as message boxes owned by a window of its choice (MB_YESNO and
// MB_OK); tests answer them from a script and record what was asked. A
// '\r' inside a text breaks the line.
#pragma once

#include <string_view>

namespace lyro {

class Prompter {
public:
    virtual ~Prompter() = default;
    // A Yes/No question: true only when the answer is Yes.
    virtual bool ask(std::string_view text, std::string_view caption) = 0;
    // A notice with an OK button.
    virtual void notify(std::string_view text, std::string_view caption) = 0;
};

}  // namespace lyro
