// The status line under an important message in the history view: whether
// the message's readers have confirmed it.
#pragma once

#include "sdk/qel.h"
#include "sdk/ui/CompositeUI.h"

class CRichEditExUI;

namespace tavi {

class CImportantMsgStatusCtrl : public CCompositeUI {
public:
    const char16_t* GetClassName() const override { return u"ImportantMsgStatus"; }
    // Shows the message's current status; called again when it changes.
    void SetInfo(qel_handle message, CRichEditExUI* view);
    uint64_t GetMsgId() const { return m_msgId; }

private:
    uint64_t m_msgId = 0;
};

}  // namespace tavi
