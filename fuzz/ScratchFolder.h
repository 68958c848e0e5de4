// A folder of this process's own under the temporary folder, made on first
// use and removed when the process ends: where a fuzz target puts the files
// an input becomes and where whatever the code under test writes lands.
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
        auto* path = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                               ("tavi-fuzz-" + std::to_string(getpid())));
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
