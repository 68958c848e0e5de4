// A folder of this process's own, made on first use and removed when the
// process ends: where a fuzz target puts the files an input becomes and
// where whatever the code under test writes lands. It lies in memory
// (/dev/shm) where the system has it, since a file written to disk for
// every input costs more than the input itself.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzz {

inline const std::filesystem::path& ScratchFolder() {
    // Never destroyed, so that it is still there when the folder goes at exit.
    static const std::filesystem::path* const folder = [] {
        std::error_code error;
        const std::filesystem::path memory = "/dev/shm";
        const std::filesystem::path parent =
            std::filesystem::is_directory(memory, error) && access(memory.string().c_str(), W_OK) == 0
                ? memory
                : std::filesystem::temp_directory_path();
        auto* path = new std::filesystem::path(parent / ("tavi-fuzz-" + std::to_string(getpid())));
        std::filesystem::create_directories(*path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        });
        return path;
    }();
    return *folder;
}

}  // namespace fuzz
