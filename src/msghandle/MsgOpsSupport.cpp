#include "msghandle/MsgOpsSupport.h"

#include "sdk/host.h"
#include "sdk/ui.h"
#include "sdk/ui/MessageBoxUI.h"
#include "util/Localised.h"

namespace tavi {

namespace {
// The host's text that says why a request of the user failed.
constexpr int kHostRequestFailedText = 37;
}  // namespace

int ShowOpBox(HWND owner, const std::u16string& text, const char16_t* captionKey, const char16_t* buttonsKey,
              int type) {
    const std::u16string caption = util::Localised(captionKey);
    const std::u16string buttons = util::Localised(buttonsKey);
    return UIMessageBox(owner, text.c_str(), caption.c_str(), buttons.c_str(), type, nullptr, CDPI::Scale(340),
                        CDPI::Scale(150));
}

std::u16string OpFailureText(const char16_t* fallbackKey) {
    IAppMain* app = GetAppMain();
    std::u16string text = app ? app->GetHostText(kHostRequestFailedText) : std::u16string();
    return text.empty() ? util::Localised(fallbackKey) : text;
}

}  // namespace tavi
