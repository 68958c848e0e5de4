// The panel's input commands: sending, typing and the input's height.
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/ui/ControlUI.h"

namespace tavi {

void CTaviPanel::SendMsg() {}

void CTaviPanel::ChangePictureShow(bool show) {
    if (m_pHostSink) m_pHostSink->OnHostEvent(0, show ? 1 : 0, 0);
}

void CTaviPanel::OnEditChange(intptr_t param) { ChangePictureShow(param != 0); }

void CTaviPanel::SetInputEditHeight(int height) {
    if (height < 61 || height > 499) return;
    if (CControlUI* input = FindSubControl(u"input")) input->SetCoordinate(0, height, 0, 0, 6);
    if (CControlUI* history = FindSubControl(u"history")) history->SetCoordinate(0, 0, 0, height, 8);
    if (CControlUI* splitter = FindSubControl(u"splitter")) {
        splitter->SetCoordinate(0, height, 0, height - 2, 6);
        splitter->Resize();
        splitter->Invalidate();
    }
}

}  // namespace tavi
