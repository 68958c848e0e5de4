#include "panel/HoverButton.h"

namespace tavi {

bool OnHoverButtonEvent(TEventUI& event, uint32_t timerId, RECT& saved, const std::function<void()>& press,
                        const std::function<void(const RECT&)>& rest) {
    CControlUI* button = event.pSender;
    if (!button) return true;
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            // Setting the timer again restarts the wait.
            button->SetTimer(timerId, kHoverDelayMs);
            saved = button->GetPos();
            break;
        case UIEVENT_MOUSELEAVE: button->KillTimer(timerId); break;
        case UIEVENT_BUTTONDOWN:
            button->KillTimer(timerId);
            press();
            break;
        case UIEVENT_TIMER:
            if (event.wParam == timerId) {
                button->KillTimer(timerId);
                rest(saved);
            }
            break;
        default: break;
    }
    return true;
}

}  // namespace tavi
