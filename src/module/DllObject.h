// State that every chat window of the process shares, created by the
// module's Init and destroyed by Uninit, and the module functions through
// which the rest of the component reaches the host and the SDK instance.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sdk/findfrd.h"
#include "sdk/pfx.h"
#include "sdk/tavi.h"
#include "sdk/win32.h"

class CWindowUI;

namespace qel {
struct IQelInst;
}

namespace tavi {

class CTaviImpl;
class CTaviPanel;

using PreLogoutCallback = void (*)();

class CDllObject {
public:
    CDllObject() = default;
    virtual ~CDllObject();
    CDllObject(const CDllObject&) = delete;
    CDllObject& operator=(const CDllObject&) = delete;

    virtual void OnCreateDllObj(pfx::IHost* host);

    void AddMarqueeFinish(const std::u16string& name) { m_marqueeFinished.insert(name); }
    bool IsMarqueeFinish(const std::u16string& name) const { return m_marqueeFinished.count(name) != 0; }

    CWindowUI* m_pRecentFontWnd = nullptr;
    IEmoticonBrowser* m_pEmoticonBrowser = nullptr;
    CWindowUI* m_pRecentEmoticonWnd = nullptr;
    std::set<std::u16string> m_marqueeFinished;
    bool m_bStarted = false;
    bool m_bTextPlainSupportSmiley = true;
    PreLogoutCallback m_pfnPreLogout = nullptr;
    // The host's member search that every panel's @-popup shares; made on first use.
    std::unique_ptr<client::_CFindFrdSDK> m_pFindFrd;

    // ---- Input tools ----
    // The installed font families, listed once per start of the module, and
    // the colour dialog's custom colours (white until the user edits them),
    // which the dialog keeps from one opening to the next.
    std::vector<std::u16string> m_fontNames;
    bool m_bFontNamesLoaded = false;
    std::array<uint32_t, 16> m_customColors = WhiteColors();

private:
    static constexpr std::array<uint32_t, 16> WhiteColors() {
        std::array<uint32_t, 16> colors{};
        colors.fill(0xFFFFFFu);
        return colors;
    }

    void SkinInit();
};

// The per-process state, null outside Init..Uninit.
CDllObject* GetDllObject();

// Run by the module's Init and Uninit.
void OnCreatePlugin(pfx::IHost* host);
void OnDestroyPlugin();
// Handler of the pre-logout object message.
void OnProtocolPreLogout(intptr_t param1, intptr_t param2);
// Installed by the message handle registry so that log-out saves drafts.
void SetPreLogoutCallback(PreLogoutCallback callback);

// The SDK instance the host registered under `name`; null when the host
// is not set, does not know the name, or the object is not an SDK instance.
qel::IQelInst* GetQelInst(const char16_t* name);
bool GetQelInst(const char16_t* name, qel::IQelInst** out);
// The application's current SDK instance.
qel::IQelInst* GetCurQelInst();

bool IsTextPlainSupportSmiley();

// The process's recent-font and recent-emoticon pop-ups, built hidden on
// first request; false when none could be made.
bool GetRecentFontWnd(CWindowUI** out);
bool GetRecentEmoticonWnd(CWindowUI** out);

// The panel resp. component of the chat window `hwnd`, not owned by the
// caller; false when `out` is null or the window has no component.
bool GetTAVIPanel(CTaviPanel** out, HWND hwnd);
bool GetTAVIImpl(CTaviImpl** out, HWND hwnd);

}  // namespace tavi
