#include "panel/HoverButton.h"

namespace tavi {

namespace {
void Hover(CControlUI& button, const TEventUI& event, uint32_t timerId, RECT& saved, const std::function<void()>& press,
           const std::function<void(const RECT&)>& rest) {
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            // Setting the timer again restarts the wait.
            button.SetTimer(timerId, kHoverDelayMs);
            saved = button.GetPos();
            break;
        case UIEVENT_MOUSELEAVE: button.KillTimer(timerId); break;
        case UIEVENT_BUTTONDOWN:
            button.KillTimer(timerId);
            press();
            break;
        case UIEVENT_TIMER:
            if (event.wParam == timerId) {
                button.KillTimer(timerId);
                rest(saved);
            }
            break;
        default: break;
    }
}
}  // namespace

bool OnHoverButtonEvent(TEventUI& event, uint32_t timerId, RECT& saved, const std::function<void()>& press,
                        const std::function<void(const RECT&)>& rest) {
    if (CControlUI* button = event.pSender) Hover(*button, event, timerId, saved, press, rest);
    // The button goes on with its own handling, its click among it.
    return true;
}

}  // namespace tavi
