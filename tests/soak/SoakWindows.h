// What the soak's acts reach in a chat's open window, and the chat's
// conversation.
#pragma once

#include <string>

#include "SoakEngine.h"
#include "component/TaviImpl.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/qel_conversation.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace soak {

inline HWND Hwnd(const Engine::Chat& chat) { return static_cast<HWND>(chat.window); }

inline tavi::CTaviImpl* Component(const Engine::Chat& chat) {
    CChatWindowUI* window = sim::FindChatWindow(Hwnd(chat));
    return window ? static_cast<tavi::CTaviImpl*>(window->GetTavi()) : nullptr;
}
inline CRichEditUI* Input(const Engine::Chat& chat) { return Component(chat)->GetPanel()->GetInputEdit(); }
inline CRichEditExUI* View(const Engine::Chat& chat) { return Component(chat)->GetPanel()->GetHistoryView(); }

inline qel_handle Conversation(const Engine::Chat& chat) { return sim::OpenConversation(chat.peer, chat.group); }
inline std::string ConvIdOf(const Engine::Chat& chat) { return qel_conversation_get_id(Conversation(chat)); }

inline std::string Narrow(const std::u16string& text) { return sim::ToUtf8(text); }

inline size_t Occurrences(const std::u16string& text, const std::u16string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace soak
