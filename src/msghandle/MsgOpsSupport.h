// What the operations on shown messages share: their message box, the
// text of a failed request, and the icon of their notices.
#pragma once

#include <string>

#include "sdk/ui/MessageBoxUI.h"
#include "sdk/win32.h"

namespace tavi {

inline constexpr const char16_t* kOpNoticeIcon = u"#info_icon_msg_2";
// What a message box answers for its second button (OK after Cancel).
inline constexpr int kOpBoxSecondButton = IDBUTTON_SECOND;

// The operations' message box (340 by 150 before DPI scaling) with a text
// and a localised caption and buttons; its answer.
int ShowOpBox(HWND owner, const std::u16string& text, const char16_t* captionKey, const char16_t* buttonsKey,
              int type = 0);
// Why a request failed: the host's own text for it, or the fallback key's text.
std::u16string OpFailureText(const char16_t* fallbackKey);

}  // namespace tavi
