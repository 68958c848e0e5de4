#include "msghandle/PictureCheck.h"

#include <filesystem>
#include <memory>

#include "sdk/platform_files.h"
#include "sdk/ui/ImageExt.h"
#include "sdk/ui/OleObject.h"
#include "util/Strings.h"

namespace tavi {

namespace {
// A header that claims more than this on a side is no picture anyone sent.
constexpr int32_t kMaxPictureSide = 65535;
}  // namespace

std::u16string LowerExtension(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"/\\");
    const size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return std::u16string();
    std::u16string extension = path.substr(dot + 1);
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    }
    return extension;
}

bool HasPictureExtension(const std::u16string& path) {
    const std::u16string extension = LowerExtension(path);
    for (const char16_t* known : {u"jpg", u"jpeg", u"png", u"bmp", u"gif"}) {
        if (extension == known) return true;
    }
    return false;
}

bool IsSendablePictureFile(const std::u16string& path) {
    std::error_code error;
    const std::filesystem::path file = platform::FsPath(path);
    // A folder, a device or a pipe is never read; an empty or cut file is
    // refused by the loader below like any other that is no picture.
    if (!std::filesystem::is_regular_file(file, error)) return false;
    if (GdiplusLoadImage(path.c_str()) != 0) return false;
    std::unique_ptr<COleImageObj> picture(COleImageObj::LoadImageW(path, true));
    return picture && picture->GetWidth() <= kMaxPictureSide && picture->GetHeight() <= kMaxPictureSide;
}

}  // namespace tavi
