#include "module/DllObject.h"

#include "component/TaviImpl.h"
#include "controls/ControlFactories.h"
#include "module/Guids.h"
#include "module/ModuleDll.h"
#include "msghandle/MsgSplitSendMgr.h"
#include "sdk/chatwnd.h"
#include "sdk/common.h"
#include "sdk/host.h"
#include "sdk/qel_inst.h"
#include "sdk/ui.h"
#include "tools/RecentEmoticonWnd.h"
#include "tools/RecentFontWnd.h"
#include "sdk/platform.h"
#include "util/Log.h"

namespace tavi {

namespace {
CDllObject* g_dllObject = nullptr;

// The folder of the module file, separator kept.
std::u16string ModuleFolder() {
    const std::u16string path = GetModuleFilePath();
    const size_t cut = path.find_last_of(u"\\/");
    return cut == std::u16string::npos ? std::u16string() : path.substr(0, cut + 1);
}
}  // namespace

CDllObject* GetDllObject() { return g_dllObject; }

// The browser reference taken at start-up is given back here, so that the
// shared browser dies with the module object's registry rather than
// outliving the process state.
CDllObject::~CDllObject() {
    if (m_pEmoticonBrowser) m_pEmoticonBrowser->Release();
    // The shared popups belong to the process state and go with it.
    delete m_pRecentFontWnd;
    delete m_pRecentEmoticonWnd;
}

void CDllObject::SkinInit() {
    IUIEngine* engine = GetUIEngine();
    if (engine) {
        engine->RegisterControl(u"RichEditWithTool", &CreateRichEditWithToolUI);
        engine->RegisterControl(u"ScrollExLayout", &CreateScrollExLayout);
        engine->RegisterControl(u"NewAnime", &CreateNewsAnimeUI);
    }
    if (IUIRes* res = GetUIRes()) res->AddResPath((ModuleFolder() + u"skin" + platform::kPathSeparator).c_str(), 0);
}

void CDllObject::OnCreateDllObj(pfx::IHost*) {
    SkinInit();
    if (CModuleDll* module = GetModuleObject()) {
        pfx::IObject* browser = nullptr;
        if (module->CreateObject(&browser, kEmoticonBrowserId))
            m_pEmoticonBrowser = static_cast<IEmoticonBrowser*>(browser);
    }
    m_bStarted = true;
    m_bTextPlainSupportSmiley = common::GetEXEConfig(u"MsgSendOption", u"text_plain_support_smiley", 1) != 0;
}

void OnCreatePlugin(pfx::IHost* host) {
    TAVI_SCOPE("OnCreatePlugin");
    // Init may run again without Uninit; the older state goes first, but
    // the pre-logout hook stays: the handlers that installed it are still
    // open and their drafts must still be saved at log-out.
    const PreLogoutCallback preLogout = g_dllObject ? g_dllObject->m_pfnPreLogout : nullptr;
    delete g_dllObject;
    g_dllObject = new CDllObject();
    g_dllObject->m_pfnPreLogout = preLogout;
    g_dllObject->OnCreateDllObj(host);
}

void OnDestroyPlugin() {
    TAVI_SCOPE("OnDestroyPlugin");
    CMsgSplitSendMgr::Destroy();
    delete g_dllObject;
    g_dllObject = nullptr;
}

void OnProtocolPreLogout(intptr_t, intptr_t) {
    TAVI_SCOPE("CDllObject::OnProtocolPreLogout");
    if (g_dllObject && g_dllObject->m_pfnPreLogout) g_dllObject->m_pfnPreLogout();
}

void SetPreLogoutCallback(PreLogoutCallback callback) {
    if (g_dllObject) g_dllObject->m_pfnPreLogout = callback;
}

qel::IQelInst* GetQelInst(const char16_t* name) {
    pfx::IHost* host = GetModuleHost();
    if (!host || !name) return nullptr;
    pfx::IObject* object = nullptr;
    if (!host->QueryObject(name, &object) || !object) return nullptr;
    auto* inst = dynamic_cast<qel::IQelInst*>(object);
    // The caller gets a pointer it does not own, as from the host's registry.
    object->Release();
    return inst;
}

bool GetQelInst(const char16_t* name, qel::IQelInst** out) {
    if (!out) return false;
    qel::IQelInst* inst = GetQelInst(name);
    if (!inst) return false;
    *out = inst;
    return true;
}

qel::IQelInst* GetCurQelInst() {
    IAppMain* app = GetAppMain();
    return app ? app->GetCurQelInst() : nullptr;
}

bool IsTextPlainSupportSmiley() { return g_dllObject ? g_dllObject->m_bTextPlainSupportSmiley : true; }

namespace {
template <typename W>
bool GetPopupWnd(CWindowUI* CDllObject::*slot, const char16_t* name, CWindowUI** out) {
    if (!out || !g_dllObject) return false;
    if (!(g_dllObject->*slot)) {
        auto* window = new W();
        if (!window->Create(nullptr, name, 0, 0, 0, 0, 0, 0)) {
            delete window;
            return false;
        }
        window->ShowWindow(false, false);
        g_dllObject->*slot = window;
    }
    *out = g_dllObject->*slot;
    return true;
}
}  // namespace

bool GetRecentFontWnd(CWindowUI** out) {
    return GetPopupWnd<CRecentFontWnd>(&CDllObject::m_pRecentFontWnd, u"recent_font_wnd", out);
}

bool GetRecentEmoticonWnd(CWindowUI** out) {
    return GetPopupWnd<CRecentEmoticonWnd>(&CDllObject::m_pRecentEmoticonWnd, u"recent_emoticon_wnd", out);
}

bool GetTAVIImpl(CTaviImpl** out, HWND hwnd) {
    IChatWndMgr* manager = GetChatWndMgr();
    ITavi* component = nullptr;
    if (!out || !manager || !manager->GetTavi(hwnd, &component) || !component) return false;
    // The caller borrows the component; the manager's reference goes back.
    auto* impl = dynamic_cast<CTaviImpl*>(component);
    component->Release();
    if (!impl) return false;
    *out = impl;
    return true;
}

bool GetTAVIPanel(CTaviPanel** out, HWND hwnd) {
    CTaviImpl* component = nullptr;
    if (!out || !GetTAVIImpl(&component, hwnd) || !component->GetPanel()) return false;
    *out = component->GetPanel();
    return true;
}

}  // namespace tavi
