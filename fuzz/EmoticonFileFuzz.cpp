// The emoticon definition file as it lies beside the module: any bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/driver.h"
#include "tools/EmoticonWnd.h"
#include "util/Strings.h"

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavi-emoticon-fuzz-" + std::to_string(getpid()));
    return folder;
}

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
}

// The file every input is written to, in a folder of this process's own
// that goes when the process ends.
const std::string& DefinitionFile() {
    static const std::string path = [] {
        std::filesystem::create_directories(Folder());
        std::atexit(RemoveFolder);
        return (Folder() / "emoticon.xml").string();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::ResetAll();
    FILE* file = std::fopen(DefinitionFile().c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    {
        tavi::CEmoticonWnd picker;
        picker.Load(util::Utf8ToWide(DefinitionFile()));
        for (const auto& [name, description] : picker.GetEmoticons()) (void)name.size(), (void)description.size();
    }
    sim::ResetAll();
    return 0;
}
