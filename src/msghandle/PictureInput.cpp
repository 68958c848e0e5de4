#include "msghandle/PictureInput.h"

#include <filesystem>

#include "sdk/ui.h"
#include "sdk/ui/ImageExt.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/RichEditUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr int kPictureTooLarge = 1;
constexpr int kPictureAsFile = 2;

void ShowBox(HWND owner, const char16_t* key, const char16_t* buttons) {
    UIMessageBox(owner, I18NSTR(key, 0), I18NSTR(u"#TIP", 0), I18NSTR(buttons, 0), 0, nullptr, CDPI::Scale(340),
                 CDPI::Scale(150));
}
}  // namespace

bool RichEditLoadImage(const char16_t* path, CRichEditUI* edit) {
    if (!path || !edit) return false;
    COleImageObj* image = COleImageObj::LoadImageW(path, true);
    if (!image) return false;
    image->SetImageType(0);
    if (edit->InsertObject(image)) return true;
    delete image;
    return false;
}

bool InsertPictureFile(const char16_t* path, CRichEditUI* edit, HWND owner, int oversizeOption) {
    if (!path || !edit) return false;
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(util::WideToUtf8(path)), error)) {
        ShowBox(owner, u"#IDS_IMAGE_FILE_DONT_EXIST", u"#OK");
        return false;
    }
    switch (GdiplusLoadImage(path)) {
        case kPictureTooLarge:
            ShowBox(owner, u"#IDS_IMAGE_OVERSIZE_CANNOT_SEND", u"#OK");
            return false;
        case kPictureAsFile:
            if (oversizeOption != 0) return false;
            // Sending it as a file belongs to the panel's file sender.
            if (UIMessageBox(owner, I18NSTR(u"#IDS_IMAGE_OVERSIZE_SURE_TOC_SEND_BY_FILE", 0), I18NSTR(u"#TIP", 0),
                             I18NSTR(u"#MES_BOX_BTN_TRUE_FALSE", 0), 0, nullptr, CDPI::Scale(340),
                             CDPI::Scale(150)) != IDBUTTON_SECOND)
                ShowBox(owner, u"#IDS_IMAGE_OVERSIZE_CHANGE_TO_SEND_FILE", u"#OK");
            else
                TAVI_LOG("picture to be sent as a file: %s", util::WideToUtf8(path).c_str());
            return false;
        default: break;
    }
    if (RichEditLoadImage(path, edit)) return true;
    ShowBox(owner, u"#LOAD_IMAGE_FAIL", u"#OK");
    return false;
}

}  // namespace tavi
