// Child programs on Windows: CreateProcess, waited for on its handle.
#include <windows.h>

#include <cstring>

#include "platform/child_process.h"

namespace lyro {

struct ChildProcess::Impl {
    HANDLE process = nullptr;
    std::optional<int> status;
};

namespace {

// Owns a file handle that the child inherits as a standard handle.
struct InheritedFile {
    explicit InheritedFile(const std::string& path, bool write) {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        handle = CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                             write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~InheritedFile() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    InheritedFile(const InheritedFile&) = delete;
    InheritedFile& operator=(const InheritedFile&) = delete;
    HANDLE handle;
};

// This process's environment with the setup's variables set, as the block
// of NUL-ended strings that CreateProcess takes.
std::string environment_block(const ChildSetup& setup) {
    std::string block;
    char* env = GetEnvironmentStringsA();
    for (const char* e = env; e && *e; e += std::strlen(e) + 1) {
        bool replaced = false;
        for (const auto& [name, value] : setup.environment)
            if (_strnicmp(e, name.c_str(), name.size()) == 0 && e[name.size()] == '=')
                replaced = true;
        if (!replaced) block.append(e).push_back('\0');
    }
    if (env) FreeEnvironmentStringsA(env);
    for (const auto& [name, value] : setup.environment)
        block.append(name).append("=").append(value).push_back('\0');
    block.push_back('\0');
    return block;
}

}  // namespace

ChildProcess::ChildProcess(const ChildSetup& setup) : impl_(std::make_unique<Impl>()) {
    InheritedFile in("NUL", false);
    InheritedFile out(setup.stdout_path, true);
    InheritedFile err(setup.stderr_path, true);
    if (out.handle == INVALID_HANDLE_VALUE || err.handle == INVALID_HANDLE_VALUE) return;

    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in.handle;
    si.hStdOutput = out.handle;
    si.hStdError = err.handle;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + setup.program + "\"";
    for (const auto& argument : setup.arguments) command += " \"" + argument + "\"";
    std::string env = environment_block(setup);
    if (!CreateProcessA(setup.program.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                        env.data(), setup.working_dir.c_str(), &si, &pi))
        return;
    CloseHandle(pi.hThread);
    impl_->process = pi.hProcess;
}

ChildProcess::~ChildProcess() {
    kill();
    if (impl_->process) CloseHandle(impl_->process);
}

bool ChildProcess::started() const { return impl_->process != nullptr; }

std::optional<int> ChildProcess::wait_for(std::chrono::milliseconds limit) {
    if (impl_->status || !started()) return impl_->status;
    if (WaitForSingleObject(impl_->process, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(impl_->process, &code);
    impl_->status = static_cast<int>(code);
    return impl_->status;
}

void ChildProcess::kill() {
    if (!started() || impl_->status) return;
    TerminateProcess(impl_->process, 1);
    wait_for(std::chrono::milliseconds(10000));
}

}  // namespace lyro
