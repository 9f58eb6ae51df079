// Child programs natively: fork and exec, reaped with waitpid.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "platform/child_process.h"

extern char** environ;

namespace lyro {

struct ChildProcess::Impl {
    pid_t pid = -1;
    std::optional<int> status;
};

namespace {

// The environment for the child, prepared before fork: after it, only
// calls that are safe in a copy of a threaded process may be made.
std::vector<std::string> child_environment(const ChildSetup& setup) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        bool replaced = false;
        for (const auto& [name, value] : setup.environment)
            if (std::strncmp(*e, name.c_str(), name.size()) == 0 && (*e)[name.size()] == '=')
                replaced = true;
        if (!replaced) env.emplace_back(*e);
    }
    for (const auto& [name, value] : setup.environment) env.push_back(name + "=" + value);
    return env;
}

int exit_status(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) : impl_(std::make_unique<Impl>()) {
    std::vector<std::string> env = child_environment(setup);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words{setup.program};
    words.insert(words.end(), setup.arguments.begin(), setup.arguments.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    impl_->pid = fork();
    if (impl_->pid != 0) return;
    // The child.
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(setup.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(setup.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(setup.working_dir.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

ChildProcess::~ChildProcess() { kill(); }

bool ChildProcess::started() const { return impl_->pid > 0; }

std::optional<int> ChildProcess::wait_for(std::chrono::milliseconds limit) {
    if (impl_->status || !started()) return impl_->status;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int raw = 0;
        const pid_t r = waitpid(impl_->pid, &raw, WNOHANG);
        if (r == impl_->pid) {
            impl_->status = exit_status(raw);
            return impl_->status;
        }
        if (r < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void ChildProcess::kill() {
    if (!started() || impl_->status) return;
    ::kill(impl_->pid, SIGKILL);
    int raw = 0;
    if (waitpid(impl_->pid, &raw, 0) == impl_->pid) impl_->status = exit_status(raw);
}

}  // namespace lyro
