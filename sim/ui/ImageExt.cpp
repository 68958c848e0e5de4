// The picture check of the UI extensions: by file size, with thresholds
// the driver sets.
#include <filesystem>

#include "sdk/platform_files.h"
#include "sdk/ui/ImageExt.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/ui/UiDriver.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {
struct ImageExtState {
    uint64_t tooLarge = 100ull << 20;
    uint64_t sendAsFile = 10ull << 20;
};

ImageExtState& State() {
    static ImageExtState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = ImageExtState{}; });
}  // namespace

void SetPictureSizeLimits(uint64_t tooLarge, uint64_t sendAsFile) {
    State().tooLarge = tooLarge;
    State().sendAsFile = sendAsFile;
}

uint64_t PictureSizeLimit() { return State().tooLarge; }

bool ui::IsLoadablePictureFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = platform::FsPath(path);
    if (!std::filesystem::is_regular_file(file, error)) return false;
    const auto size = std::filesystem::file_size(file, error);
    return !error && size < State().tooLarge;
}

}  // namespace sim

int GdiplusLoadImage(const char16_t* path) {
    if (!path) return 0;
    std::error_code error;
    const auto size = std::filesystem::file_size(platform::FsPath(path), error);
    if (error) return 0;
    if (size >= sim::State().tooLarge) return 1;
    if (size >= sim::State().sendAsFile) return 2;
    return 0;
}
