// The driver's pointer over rich edits: points on shown items and their
// pictures, and notifications that carry where the pointer was.
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Loop.h"
#include "sim/ui/UiDriver.h"

namespace sim {

namespace {

TPointUI PointAtChar(const CRichEditUI* edit, long pos) {
    const RECT r = edit->GetPos();
    return TPointUI{r.left + edit->GetCharLeft(pos) + 1, r.top + edit->GetCharTop(pos) - edit->GetScrollPos() + 1};
}

bool CenterOf(const COleObject* object, TPointUI& point) {
    RECT bound;
    if (!object || !object->GetBound(bound)) return false;
    point = TPointUI{(bound.left + bound.right) / 2, (bound.top + bound.bottom) / 2};
    return true;
}

}  // namespace

bool PointAtMsg(const CRichEditExUI* view, int64_t id, bool onPicture, TPointUI& point) {
    if (!view) return false;
    if (id == 0) {
        const RECT r = view->GetPos();
        point = TPointUI{r.left + 1, r.top + view->GetContentHeight() - view->GetScrollPos() + 5};
        return true;
    }
    CHARRANGE range;
    if (!view->GetMsgRange(id, range)) return false;
    if (!onPicture) {
        point = PointAtChar(view, range.cpMin);
        return true;
    }
    for (long pos = range.cpMin; pos < range.cpMax; ++pos) {
        if (auto* image = dynamic_cast<COleImageObj*>(view->GetObjectAtPos(pos))) return CenterOf(image, point);
    }
    return false;
}

bool PointAtPicture(const CRichEditUI* edit, TPointUI& point) {
    for (int i = 0; edit && i < edit->GetObjectCount(); ++i) {
        if (auto* image = dynamic_cast<COleImageObj*>(edit->GetObjectAt(i))) return CenterOf(image, point);
    }
    return false;
}

bool NotifyAt(CControlUI* control, int32_t type, TPointUI point, uintptr_t wParam, intptr_t lParam) {
    if (!control) return false;
    TNotifyUI msg;
    msg.nType = type;
    msg.pSender = control;
    msg.dwTimestamp = uint32_t(NowMs());
    msg.ptMouse = point;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return control->SendNotify(msg);
}

}  // namespace sim
