// Chat windows with the input tools at hand: the tool bar buttons, the
// font bar, the shared popups and what the account's preferences hold.
#pragma once

#include <algorithm>

#include "../component/SendFixture.h"
#include "module/DllObject.h"
#include "sdk/ui/ComboBoxUI.h"
#include "tools/EmoticonBrowserImpl.h"
#include "tools/EmoticonWnd.h"
#include "tools/RecentEmoticonWnd.h"
#include "tools/RecentFontWnd.h"

class InputToolsTest : public SendTest {
protected:
    void TearDown() override {
        for (int key : {VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT}) sim::SetKeyDown(key, false);
        SendTest::TearDown();
    }

    static CControlUI* Control(HWND window, const std::string& name) { return sim::FindControl(Panel(window), name); }
    static CControlUI* FontButton(HWND window) { return Control(window, "input.left.font"); }
    static CControlUI* EmoticonButton(HWND window) { return Control(window, "input.left.emoticon"); }
    static CComboBoxUI* Combo(HWND window, const std::string& name) {
        return dynamic_cast<CComboBoxUI*>(Control(window, name));
    }

    static tagTextFormat InputFormat(HWND window) {
        tagTextFormat format;
        Input(window)->GetDefaultCharFormat(format);
        return format;
    }
    static std::u16string InputFace(HWND window) { return InputFormat(window).szFaceName; }

    static std::string Saved(const std::string& key) {
        const auto& prefs = sim::LastSavedPrefs();
        auto it = prefs.find(key);
        return it == prefs.end() ? "<none>" : it->second;
    }
    static bool Logged(const std::string& part) {
        const auto& lines = sim::LogLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const sim::LogEntry& e) { return e.text.find(part) != std::string::npos; });
    }

    // The pointer rests on a control for `ms`, then leaves it; a second
    // later, whatever the rest started has happened.
    static void Hover(CControlUI* control, uint32_t ms) {
        sim::SendEvent(control, UIEVENT_MOUSEENTER);
        sim::Advance(ms);
        sim::SendEvent(control, UIEVENT_MOUSELEAVE);
        sim::Advance(1000);
    }

    static tavi::CRecentFontWnd* RecentFonts() {
        tavi::CDllObject* state = tavi::GetDllObject();
        return state ? static_cast<tavi::CRecentFontWnd*>(state->m_pRecentFontWnd) : nullptr;
    }
    static tavi::CRecentEmoticonWnd* RecentEmoticons() {
        tavi::CDllObject* state = tavi::GetDllObject();
        return state ? static_cast<tavi::CRecentEmoticonWnd*>(state->m_pRecentEmoticonWnd) : nullptr;
    }
    static bool Shown(CWindowUI* popup) { return popup && popup->IsWindowVisible(); }

    // The face and size chosen on the bar, then the bar closed again.
    static void WriteWith(HWND window, const std::u16string& face, const std::u16string& size) {
        sim::Click(FontButton(window));
        ASSERT_TRUE(sim::ChooseComboItem(Combo(window, "fontset.fontface"), face));
        sim::ChooseComboItem(Combo(window, "fontset.fontsize"), size);
        sim::Click(FontButton(window));
    }

    // The faces of the stored recent fonts, oldest first.
    static std::vector<std::string> RecentFaces() {
        std::vector<std::string> faces;
        for (int i = 0; i < 4; ++i) {
            const std::string face = Saved("SystemInfo.RecentFont.FontName" + std::to_string(i));
            if (face.empty() || face == "<none>") break;
            faces.push_back(face);
        }
        return faces;
    }

    // The texts of a popup's four buttons ("-" for a disabled one).
    static std::vector<std::u16string> ButtonTexts(CWindowUI* popup, const std::u16string& prefix) {
        std::vector<std::u16string> texts;
        for (char16_t i = u'1'; i <= u'4'; ++i) {
            CControlUI* button = popup->FindControl(prefix + i);
            texts.push_back(button->IsEnabled() ? button->GetText() : u"-");
        }
        return texts;
    }
};
