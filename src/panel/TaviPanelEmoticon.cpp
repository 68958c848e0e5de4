// Text emoticons: the emoticon button with its picker and the hover that
// offers the recent emoticons, and a chosen emoticon going into the input.
#include "module/DllObject.h"
#include "panel/HoverButton.h"
#include "panel/TaviPanel.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "tools/RecentEmoticonWnd.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr uint32_t kEmoticonHoverTimer = 1043;

// The process's recent-emoticon popup, serving this panel from now on.
CRecentEmoticonWnd* RecentEmoticonsFor(const std::u16string& panelId, IEmoticonCallBack* callback) {
    CWindowUI* found = nullptr;
    if (!GetRecentEmoticonWnd(&found)) return nullptr;
    auto* recent = static_cast<CRecentEmoticonWnd*>(found);
    recent->SetPanelId(panelId);
    recent->SetEmoticonCallBack(callback);
    return recent;
}
}  // namespace

bool CTaviPanel::OnEmoticonBtnEvent(TEventUI& event) {
    const auto press = [this] {
        if (CDllObject* state = GetDllObject(); state && state->m_pRecentEmoticonWnd)
            state->m_pRecentEmoticonWnd->ShowWindow(false);
        OnBtnEmoticon();
    };
    return OnHoverButtonEvent(event, kEmoticonHoverTimer, m_emoticonBtnRect, press,
                              [this](const RECT& rect) { ShowRecentEmoticonWnd(rect); });
}

void CTaviPanel::OnBtnEmoticon() {
    CDllObject* state = GetDllObject();
    CWindowUI* window = GetWindow();
    CControlUI* button = FindSubControl(u"input.left.emoticon");
    if (!state || !state->m_pEmoticonBrowser || !window || !button) return;
    // The face callback is the picture library's; the picker only keeps it.
    state->m_pEmoticonBrowser->Show(window->ClientToScreen(button->GetPos()), this, nullptr);
}

void CTaviPanel::ShowRecentEmoticonWnd(const RECT& rect) {
    auto* holder = dynamic_cast<CContainerUI*>(FindSubControl(u"history.popup"));
    CWindowUI* window = GetWindow();
    if ((holder && holder->GetCount() > 0) || !window) return;
    CRecentEmoticonWnd* recent = RecentEmoticonsFor(m_instanceName, this);
    RECT at;
    if (!recent || !recent->GetPos(window->ClientToScreen(rect), at)) return;
    recent->MoveWindow(at);
    recent->ShowWindow(SW_SHOW);
    recent->Update();
    recent->SetForegroundWindow();
}

void CTaviPanel::OnSelEmoticon(const char16_t* name, const char16_t* description) {
    const std::u16string text = util::SafeWide(name);
    if (text.empty() || !m_pInputEdit) return;
    m_pInputEdit->InsertText(text);
    m_pInputEdit->SetFocus();
    if (CRecentEmoticonWnd* recent = RecentEmoticonsFor(m_instanceName, this)) {
        recent->PushBackEmoticon(text, util::SafeWide(description));
        if (recent->IsWindowVisible()) recent->Update();
    }
}

}  // namespace tavi
