#include "panel/ImportantMsgStatusCtrl.h"

#include "sdk/qel_msg.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Localised.h"

namespace tavi {

void CImportantMsgStatusCtrl::SetInfo(qel_handle message, CRichEditExUI* view) {
    if (!message) return;
    m_msgId = qel_msg_get_id(message);
    const char16_t* key =
        qel_msg_is_important_confirm(message) ? u"#IMPORTANT_MSG_CONFIRMED" : u"#IMPORTANT_MSG_UNCONFIRMED";
    if (CControlUI* status = FindSubControl(u"status")) {
        status->SetText(util::Localised(key));
        status->SetAttribute(u"txt.color", u"999999");
    }
    if (view) view->Invalidate();
}

}  // namespace tavi
