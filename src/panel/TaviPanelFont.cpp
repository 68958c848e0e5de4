// The chat font: read at start, the font setting bar above the input with
// its commands and the colour dialog, the hover that offers the recent
// fonts, and a recent font chosen again.
#include "module/DllObject.h"
#include "module/ModuleDll.h"
#include "panel/HoverButton.h"
#include "panel/TaviPanel.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/ComboBoxUI.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "tools/ChatFont.h"
#include "tools/FontSettingPanel.h"
#include "tools/RecentFontWnd.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr uint32_t kFontHoverTimer = 1042;
constexpr int32_t kFontBarHeight = 30;
constexpr int32_t kSmallestListedSize = 8;
constexpr int32_t kLargestListedSize = 22;

// The colour dialog runs as the platform draws it.
uintptr_t ColorDialogHook(HWND, uint32_t, uintptr_t, intptr_t) { return 0; }

void SetCoordinates(CControlUI* root, const char16_t* name, int32_t l, int32_t t, int32_t r, int32_t b, int32_t a) {
    if (CControlUI* control = root->FindSubControl(name)) control->SetCoordinate(l, t, r, b, a);
}

void AddToBottom(CControlUI* control, int32_t delta) {
    if (!control) return;
    int32_t l, t, r, b, a;
    control->GetCoordinate(l, t, r, b, a);
    control->SetCoordinate(l, t, r, b + delta, a);
}

void SetTopKeepingAnchor(CControlUI* control, int32_t top) {
    if (!control) return;
    int32_t l, t, r, b, a;
    control->GetCoordinate(l, t, r, b, a);
    control->SetCoordinate(0, top, 0, 0, a);
}

}  // namespace

void CTaviPanel::LoadChatFont() {
    if (!m_pInputEdit) return;
    const SChatFont stored = ReadChatFont(qel_account_preference(m_account.get()));
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    SChatFont applied = FontOfFormat(format);
    // Only what the user set replaces the edit's own defaults; a colour of
    // 0 (black) is the edit's default anyway.
    if (!stored.face.empty()) applied.face = stored.face;
    if (stored.size) applied.size = stored.size;
    applied.bold |= stored.bold;  // the effects are 0 or 1 on both sides
    applied.italic |= stored.italic;
    applied.underline |= stored.underline;
    if (stored.color) applied.color = stored.color;
    ApplyFontToFormat(applied, format);
    m_pInputEdit->SetDefaultCharFormat(format);
}

void CTaviPanel::BindToolBarButtons() {
    if (CControlUI* font = FindSubControl(u"input.left.font"))
        font->OnEvent += [this](TEventUI& event) { return OnFontBtnEvent(event); };
    if (CControlUI* syspic = FindSubControl(u"input.left.syspic"))
        syspic->OnEvent += [this](TEventUI& event) { return OnSysPicBtnEvent(event); };
    if (CControlUI* emoticon = FindSubControl(u"input.left.emoticon"))
        emoticon->OnEvent += [this](TEventUI& event) { return OnEmoticonBtnEvent(event); };
}

bool CTaviPanel::OnFontBtnEvent(TEventUI& event) {
    const auto press = [this] {
        if (CDllObject* state = GetDllObject(); state && state->m_pRecentFontWnd)
            state->m_pRecentFontWnd->ShowWindow(false);
        OnBtnFont();
    };
    return OnHoverButtonEvent(event, kFontHoverTimer, m_fontBtnRect, press,
                              [this](const RECT& rect) { ShowRecentFontWnd(rect); });
}

void CTaviPanel::ShowRecentFontWnd(const RECT& rect) {
    CControlUI* popup = FindSubControl(u"history.popup");
    auto* holder = dynamic_cast<CContainerUI*>(popup);
    CWindowUI* window = GetWindow();
    CWindowUI* found = nullptr;
    if (m_pFontSettingPanel || (holder && holder->GetCount() > 0) || !window || !GetRecentFontWnd(&found)) return;
    auto* recent = static_cast<CRecentFontWnd*>(found);
    recent->SetPanelId(m_instanceName);
    recent->SetFontCallBack(this);
    RECT at;
    if (!recent->GetPos(window->ClientToScreen(rect), at)) return;
    recent->MoveWindow(at);
    recent->ShowWindow(SW_SHOW);
    recent->UpdateFont();
    recent->SetForegroundWindow();
}

void CTaviPanel::OnBtnFont() {
    if (m_pFontSettingPanel) CloseFontBar();
    else OpenFontBar();
    if (CControlUI* popup = FindSubControl(u"history.popup"); popup && popup->GetParent()) {
        popup->GetParent()->NeedUpdate();
        popup->GetParent()->Invalidate();
    }
    NeedUpdate();
    Invalidate();
}

void CTaviPanel::MoveForFontBar(bool opening) {
    CControlUI* popup = FindSubControl(u"history.popup");
    const int32_t room = opening ? kFontBarHeight : 0;
    if (m_viewMode == u"only_edit") {
        AddToBottom(FindSubControl(u"history.view"), opening ? kFontBarHeight : -kFontBarHeight);
    } else {
        SetCoordinates(this, u"history", 0, 0, 0, room, 4);
        SetCoordinates(this, u"history.view", 0, 0, 0, room, 8);
        SetCoordinates(this, u"input", 0, room, 0, 1, 8);
    }
    SetTopKeepingAnchor(popup, room);
}

void CTaviPanel::OpenFontBar() {
    auto* holder = dynamic_cast<CContainerUI*>(FindSubControl(u"history.popup"));
    if (!holder || holder->GetCount() > 0) return;
    MoveForFontBar(true);
    auto* bar = new CFontSettingPanel();
    if (!bar->Create(u"CHATDLG_FONT_SETTING", holder)) {
        delete bar;
        MoveForFontBar(false);
        return;
    }
    bar->SetNotifier(this);
    m_pFontSettingPanel = bar;
    FillFontBar();
}

void CTaviPanel::FillFontBar() {
    if (!m_pInputEdit) return;
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    const SChatFont current = FontOfFormat(format);
    if (auto* face = dynamic_cast<CComboBoxUI*>(m_pFontSettingPanel->FindSubControl(u"fontset.fontface"))) {
        face->RemoveAll();
        for (const std::u16string& name : InstalledFontNames()) face->AddString(name);
        face->SelectItem(face->FindFirstItem(current.face));
    }
    if (auto* size = dynamic_cast<CComboBoxUI*>(m_pFontSettingPanel->FindSubControl(u"fontset.fontsize"))) {
        size->RemoveAll();
        for (int32_t points = kSmallestListedSize; points <= kLargestListedSize; ++points)
            size->AddString(util::WFormat("%d", points));
        size->SelectItem(size->FindFirstItem(util::WFormat("%d", current.size)));
    }
    const auto select = [&](const char16_t* name, bool on) {
        if (CControlUI* option = m_pFontSettingPanel->FindSubControl(name)) option->SetSelected(on);
    };
    select(u"fontset.fontbold", current.bold);
    select(u"fontset.fontitalic", current.italic);
    select(u"fontset.fontunderline", current.underline);
}

void CTaviPanel::CloseFontBar() {
    MoveForFontBar(false);
    if (auto* holder = dynamic_cast<CContainerUI*>(FindSubControl(u"history.popup"))) holder->RemoveAll();
    m_pFontSettingPanel = nullptr;
    CWindowUI* found = nullptr;
    if (!GetRecentFontWnd(&found)) return;
    auto* recent = static_cast<CRecentFontWnd*>(found);
    recent->SetPanelId(m_instanceName);
    recent->SetFontCallBack(this);
    recent->PushBackFont();
}

void CTaviPanel::FinishFontCommand(const char* handler) {
    if (IAppMain* app = GetAppMain()) app->ReportUsageEvent("e_fun_chat_tool_font", handler, GetModuleInstance());
    if (m_pInputEdit) m_pInputEdit->SetFocus();
}

bool CTaviPanel::OnFontFaceChange(TNotifyUI& msg) {
    if (!m_pInputEdit || !msg.pSender) return true;
    const std::u16string face = msg.pSender->GetText();
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    SChatFont font = FontOfFormat(format);
    font.face = face;
    ApplyFontToFormat(font, format);
    m_pInputEdit->SetDefaultCharFormat(format);
    if (qel_handle prefs = qel_account_preference(m_account.get())) {
        qel_preference_set_wstr(prefs, "SystemInfo.ChatFont.FontName", face.c_str());
        qel_preference_save(prefs, 0);
    }
    FinishFontCommand("OnFontFaceChange");
    return true;
}

bool CTaviPanel::OnFontSizeChange(TNotifyUI& msg) {
    if (!m_pInputEdit || !msg.pSender) return true;
    const int32_t size = util::WToI(msg.pSender->GetText());
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    format.nSize = size;
    m_pInputEdit->SetDefaultCharFormat(format);
    SetPrefInt("SystemInfo.ChatFont.FontSize", size);
    FinishFontCommand("OnFontSizeChange");
    return true;
}

void CTaviPanel::ToggleFontEffect(uint32_t effect, const char* key, CControlUI* option, const char* handler) {
    if (!m_pInputEdit) return;
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    format.dwEffects ^= effect;
    const bool on = (format.dwEffects & effect) != 0;
    m_pInputEdit->SetDefaultCharFormat(format);
    // The option shows the edit's state, whatever the click did to it.
    if (option) option->SetSelected(on);
    SetPrefInt(key, on ? 1 : 0);
    FinishFontCommand(handler);
}

bool CTaviPanel::OnBtnFontBold(TNotifyUI& msg) {
    ToggleFontEffect(TF_BOLD, "SystemInfo.ChatFont.Bold", msg.pSender, "OnBtnFontBold");
    return true;
}

bool CTaviPanel::OnBtnFontItalic(TNotifyUI& msg) {
    ToggleFontEffect(TF_ITALIC, "SystemInfo.ChatFont.Italic", msg.pSender, "OnBtnFontItalic");
    return true;
}

bool CTaviPanel::OnBtnFontUnderline(TNotifyUI& msg) {
    ToggleFontEffect(TF_UNDERLINE, "SystemInfo.ChatFont.Underline", msg.pSender, "OnBtnFontUnderline");
    return true;
}

bool CTaviPanel::OnBtnFontColor() {
    if (!m_pInputEdit) return true;
    CHOOSECOLORW choose;
    choose.hwndOwner = GetWindow() ? GetWindow()->GetHWND() : nullptr;
    choose.rgbResult = m_pInputEdit->GetTextColor();
    choose.lpCustColors = CustomColors();
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
    choose.lpfnHook = &ColorDialogHook;
    if (!ChooseColorW(&choose)) {
        m_pInputEdit->SetFocus();
        return true;
    }
    m_pInputEdit->SetTextColor(choose.rgbResult);
    SetPrefInt("SystemInfo.ChatFont.Color", int(choose.rgbResult));
    FinishFontCommand("OnBtnFontColor");
    return true;
}

void CTaviPanel::OnSelFont(const char16_t* face, int size, int bold, int italic, int underline, int color) {
    if (!m_pInputEdit) return;
    SChatFont font{util::SafeWide(face), size, bold, italic, underline, color};
    MakeFontUsable(font, "CTaviPanel::OnSelFont");
    if (font.face.empty()) font.face = DefaultFontName();
    if (font.size == 0) font.size = kDefaultChatFontSize;
    tagTextFormat format;
    m_pInputEdit->GetDefaultCharFormat(format);
    ApplyFontToFormat(font, format);
    m_pInputEdit->SetDefaultCharFormat(format);
    qel_handle prefs = qel_account_preference(m_account.get());
    if (!prefs) return;
    WriteChatFont(prefs, font);
    if (IAppMain* app = GetAppMain())
        app->ReportUsageEvent("e_fun_chat_tool_font", "OnFontFaceChange", GetModuleInstance());
    if (CDllObject* state = GetDllObject(); state && state->m_pRecentFontWnd)
        static_cast<CRecentFontWnd*>(state->m_pRecentFontWnd)->PushBackFont();
}

}  // namespace tavi
