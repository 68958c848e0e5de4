#include "msghandle/PictureInput.h"

#include <filesystem>

#include "msghandle/MsgOpsSupport.h"
#include "sdk/platform_files.h"
#include "sdk/ui.h"
#include "sdk/ui/ImageExt.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/RichEditUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr int kPictureTooLarge = 1;
constexpr int kPictureAsFile = 2;
// The question's second button: send the picture as a file.
constexpr int kAnswerSendAsFile = IDBUTTON_SECOND;

bool IsRegularFile(const char16_t* path) {
    std::error_code error;
    return std::filesystem::is_regular_file(platform::FsPath(path), error);
}

int ShowBox(HWND owner, const char16_t* key, const char16_t* buttons) {
    return ShowOpBox(owner, util::Localised(key), u"#TIP", buttons);
}
}  // namespace

bool RichEditLoadImage(const char16_t* path, CRichEditUI* edit) {
    if (!path || !edit) return false;
    // Only a regular file within the size limit is read: a device would
    // never end and a pipe might never answer.
    if (!IsRegularFile(path) || GdiplusLoadImage(path) == kPictureTooLarge) {
        TAVI_LOG("not a picture file within the limit: %s", util::WideToUtf8(path).c_str());
        return false;
    }
    COleImageObj* image = COleImageObj::LoadImageW(path, true);
    if (!image) return false;
    image->SetImageType(0);
    if (edit->InsertObject(image)) return true;
    delete image;
    return false;
}

bool InsertPictureFile(const char16_t* path, CRichEditUI* edit, HWND owner, int oversizeOption,
                       const std::function<void(const std::u16string&)>& sendAsFile) {
    if (!path || !edit) return false;
    std::error_code error;
    if (!std::filesystem::exists(platform::FsPath(path), error)) {
        ShowBox(owner, u"#IDS_IMAGE_FILE_DONT_EXIST", u"#OK");
        return false;
    }
    if (!IsRegularFile(path)) {
        ShowBox(owner, u"#LOAD_IMAGE_FAIL", u"#OK");
        return false;
    }
    switch (GdiplusLoadImage(path)) {
        case kPictureTooLarge:
            ShowBox(owner, u"#IDS_IMAGE_OVERSIZE_CANNOT_SEND", u"#OK");
            return false;
        case kPictureAsFile:
            if (oversizeOption != 0) return false;
            if (ShowBox(owner, u"#IDS_IMAGE_OVERSIZE_SURE_TOC_SEND_BY_FILE", u"#MES_BOX_BTN_TRUE_FALSE") !=
                kAnswerSendAsFile) {
                ShowBox(owner, u"#IDS_IMAGE_OVERSIZE_CHANGE_TO_SEND_FILE", u"#OK");
                return false;
            }
            TAVI_LOG("picture sent as a file: %s", util::WideToUtf8(path).c_str());
            if (sendAsFile) sendAsFile(path);
            return false;
        default: break;
    }
    if (RichEditLoadImage(path, edit)) return true;
    ShowBox(owner, u"#LOAD_IMAGE_FAIL", u"#OK");
    return false;
}

}  // namespace tavi
