// Starting a program and waiting for it with a time limit. The tests that
// run whole programs use it: a program that overstays is killed, and no
// program outlives the object that started it.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lyro {

struct ChildSetup {
    std::string program;      // path of the program
    std::vector<std::string> arguments;  // its arguments, none holding a quote
    std::string working_dir;  // its current folder
    // Variables set for it on top of this process's environment.
    std::vector<std::pair<std::string, std::string>> environment;
    std::string stdout_path;  // its standard output goes to this file
    std::string stderr_path;  // its standard error goes to this file
};

class ChildProcess {
public:
    explicit ChildProcess(const ChildSetup& setup);
    ~ChildProcess();  // kills the program if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const;

    // The exit status once the program has ended, waiting at most `limit`;
    // nullopt while it still runs.
    std::optional<int> wait_for(std::chrono::milliseconds limit);

    // Ends the program at once and waits for it.
    void kill();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lyro
