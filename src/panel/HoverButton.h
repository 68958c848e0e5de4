// Tool bar buttons that offer a popup when the pointer rests on them and
// do their own action when pressed (font, emoticons, picture library).
#pragma once

#include <cstdint>
#include <functional>

#include "sdk/ui/ControlUI.h"

namespace tavi {

inline constexpr uint32_t kHoverDelayMs = 200;

// Handles one event of such a button: the pointer entering starts the
// button's timer `timerId` and saves its rectangle, leaving stops it, a
// press stops it and runs `press`, and the timer running out runs `rest`
// with the saved rectangle. Every event goes on to the button.
bool OnHoverButtonEvent(TEventUI& event, uint32_t timerId, RECT& saved, const std::function<void()>& press,
                        const std::function<void(const RECT&)>& rest);

}  // namespace tavi
