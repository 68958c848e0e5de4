// Picture files that the user puts into the input, checked for their size.
#include "msghandle/MsgHandle.h"
#include "msghandle/PictureInput.h"
#include "panel/TaviPanel.h"
#include "sdk/ui/WindowUI.h"
#include "sdk/tavi.h"

namespace tavi {

namespace {
// The host sends files: it hears which one and for whom.
constexpr int kHostEventSendFile = 4;
}  // namespace

bool CTaviPanel::InsertPictureFile(const char16_t* path) {
    CWindowUI* window = GetWindow();
    return tavi::InsertPictureFile(path, m_pInputEdit, window ? window->GetHWND() : nullptr, m_imageOversizeOption,
                                   [this](const std::u16string& file) { SendPictureAsFile(file); });
}

void CTaviPanel::SendPictureAsFile(const std::u16string& path) {
    // An ad-hoc chat sends its files itself.
    if (m_windowKey == kAdhocChatKey) {
        if (m_pMsgHandle) m_pMsgHandle->SendFileToAdhoc(path);
        return;
    }
    if (m_pHostSink)
        m_pHostSink->OnHostEvent(kHostEventSendFile, reinterpret_cast<intptr_t>(&m_participants),
                                 reinterpret_cast<intptr_t>(path.c_str()));
}

}  // namespace tavi
