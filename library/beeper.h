// The simple beep that marks refused actions and over-long lines. The UI
// sounds it with MessageBeep; tests count the calls.
#pragma once

namespace lyro {

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// A beeper for readers whose caller has no use for the beep.
class SilentBeeper final : public Beeper {
public:
    void beep() override {}
};

}  // namespace lyro
