#include "tools/RecentFontWnd.h"

#include "module/DllObject.h"
#include "sdk/qel_account.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int32_t kRecentFontMenu = 53200;
constexpr int32_t kClearRecentFonts = 53201;

std::string Key(const char* field, int index) { return util::Format("SystemInfo.RecentFont.%s%d", field, index); }

// "#rrggbb" of a COLORREF (0x00BBGGRR).
std::u16string ColorText(int32_t color) {
    const uint32_t c = uint32_t(color);
    return util::WFormat("#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace

CRecentFontWnd::CRecentFontWnd() : CRecentPopupWnd(u"font", kRecentFontMenu, kClearRecentFonts) {}

void CRecentFontWnd::ForgetSelf() {
    if (CDllObject* state = GetDllObject(); state && state->m_pRecentFontWnd == this) state->m_pRecentFontWnd = nullptr;
}

void CRecentFontWnd::GetCurFontInfo(SChatFont& out) const {
    if (qel_handle prefs = GetPreferences()) out = ReadChatFont(prefs);
}

void CRecentFontWnd::GetRecentFontInfo(RecentFontList& out) const {
    qel_handle prefs = GetPreferences();
    if (!prefs) return;
    for (int i = 0; i < kRecentEntryCount; ++i) {
        SChatFont font;
        font.face = util::SafeWide(qel_preference_get_wstr(prefs, Key("FontName", i).c_str(), u""));
        if (font.face.empty()) break;
        font.size = qel_preference_get_int(prefs, Key("FontSize", i).c_str(), 0);
        font.bold = qel_preference_get_int(prefs, Key("Bold", i).c_str(), 0);
        font.italic = qel_preference_get_int(prefs, Key("Italic", i).c_str(), 0);
        font.underline = qel_preference_get_int(prefs, Key("Underline", i).c_str(), 0);
        font.color = qel_preference_get_int(prefs, Key("Color", i).c_str(), 0);
        MakeFontUsable(font, "CRecentFontWnd::GetRecentFontInfo");
        out.push_back(font);
    }
}

void CRecentFontWnd::SetRecentFontInfo(const RecentFontList& list) {
    qel_handle prefs = GetPreferences();
    if (!prefs) return;
    for (int i = 0; i < int(list.size()); ++i) {
        const SChatFont& font = list[size_t(i)];
        qel_preference_set_wstr(prefs, Key("FontName", i).c_str(), font.face.c_str());
        qel_preference_set_int(prefs, Key("FontSize", i).c_str(), font.size);
        qel_preference_set_int(prefs, Key("Bold", i).c_str(), font.bold);
        qel_preference_set_int(prefs, Key("Italic", i).c_str(), font.italic);
        qel_preference_set_int(prefs, Key("Underline", i).c_str(), font.underline);
        qel_preference_set_int(prefs, Key("Color", i).c_str(), font.color);
    }
    qel_preference_save(prefs, 0);
}

void CRecentFontWnd::PushBackFont() {
    SChatFont current;
    GetCurFontInfo(current);
    RecentFontList list;
    GetRecentFontInfo(list);
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == current) {
            list.erase(it);
            break;
        }
    }
    list.push_back(current);
    if (list.size() > size_t(kRecentEntryCount)) list.pop_front();
    SetRecentFontInfo(list);
}

void CRecentFontWnd::UpdateFont() {
    RecentFontList list;
    GetRecentFontInfo(list);
    ShowEntries(int(list.size()), [&](CControlUI* button, int entry) {
        const SChatFont& font = list[size_t(entry)];
        button->SetText(font.face);
        button->SetToolTip(font.face);
        // The button writes its name in the font itself.
        button->SetAttribute(u"txt.textcolor", ColorText(font.color));
        button->SetAttribute(u"txt.font", util::WFormat("%s,%d,%d,%d,%d", util::WideToUtf8(font.face).c_str(),
                                                        MulDiv(font.size, 96, 72), font.italic, font.underline,
                                                        font.bold));
    });
}

void CRecentFontWnd::ClearHistoryFace() {
    SetRecentFontInfo(RecentFontList(kRecentEntryCount));
    UpdateFont();
}

void CRecentFontWnd::OnSelectFont(int button) {
    HideForChoice();
    RecentFontList list;
    GetRecentFontInfo(list);
    const int entry = int(list.size()) - kRecentEntryCount + button;
    if (entry < 0 || entry >= int(list.size()) || !m_pCallBack) return;
    const SChatFont& font = list[size_t(entry)];
    m_pCallBack->OnSelFont(font.face.c_str(), font.size, font.bold, font.italic, font.underline, font.color);
}

}  // namespace tavi
