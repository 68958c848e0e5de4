// The operating system under the stand-in, on Linux and its kind.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "sdk/platform_files.h"
#include "sim/core/Text.h"
#include "sim/os/Os.h"

namespace sim::os {

void* OpenModule(const std::u16string& path, std::string* error) {
    void* module = dlopen(ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module && error) *error = dlerror();
    return module;
}

void* FindSymbol(void* module, const char* name) { return module && name ? dlsym(module, name) : nullptr; }

void CloseModule(void* module) {
    if (module) dlclose(module);
}

void* ModuleOfAddress(const void* address) {
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0) return nullptr;
    return info.dli_fbase;
}

std::u16string ModuleFileName(void* module) {
    if (!module) return std::u16string();
    // dladdr on the module's base address names the file that maps it.
    Dl_info info{};
    if (dladdr(module, &info) == 0 || !info.dli_fname) return std::u16string();
    std::string path = info.dli_fname;
    if (path.empty() || path[0] != '/') {
        // The main program may be named relative to where it started.
        char resolved[4096];
        const ssize_t n = readlink("/proc/self/exe", resolved, sizeof(resolved) - 1);
        if (n > 0) path.assign(resolved, size_t(n));
    }
    return ToWide(path);
}

std::string ProgramFileName(const std::string& name) { return name; }

CommandResult RunProgram(const std::string& program, const std::string& arguments, const std::string& inputFile) {
    const std::string command = program + " " + arguments + " < " + inputFile + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    CommandResult result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// No desktop shell here: the stand-in's record of the call is all there is.
bool ShellOpen(const std::u16string&, const std::u16string&, const std::u16string&, int) { return false; }

bool IsInteractiveInput() { return isatty(STDIN_FILENO) != 0; }

void UseBinaryOutput() {}

bool DuplicateFile(const std::u16string& from, const std::u16string& to, bool failIfExists) {
    std::error_code error;
    const auto options =
        failIfExists ? std::filesystem::copy_options::none : std::filesystem::copy_options::overwrite_existing;
    return std::filesystem::copy_file(platform::FsPath(from), platform::FsPath(to), options, error) && !error;
}

std::vector<std::string> EndlessFiles(const std::string& folder) {
    std::vector<std::string> files{"/dev/zero"};
    const std::string fifo = folder + "/pipe.png";
    if (mkfifo(fifo.c_str(), 0600) == 0) files.push_back(fifo);
    return files;
}

int ProcessId() { return int(getpid()); }

}  // namespace sim::os
