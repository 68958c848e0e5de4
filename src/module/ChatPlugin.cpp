#include "module/ChatPlugin.h"

#include "module/ModuleDll.h"
#include "module/StdMap.h"
#include "sdk/pfx_wndmgr.h"
#include "sdk/ui/ControlUI.h"
#include "util/Guid.h"
#include "util/Strings.h"

namespace tavi {

bool MakeInstanceId(std::u16string& id) {
    pfx::GUID guid;
    if (!CoCreateGuid(&guid)) return false;
    id = util::FormatGuid(guid);
    return true;
}

void CChatPlugin::Init(const char16_t* instanceName, int32_t kind, const pfx::GUID& key, const pfx::GUID* windowKey) {
    m_instanceName = util::SafeWide(instanceName);
    m_kind = kind;
    m_key = key;
    m_windowKey = windowKey ? *windowKey : pfx::GUID{};
}

void CChatPlugin::OnObjMsg(uint32_t, intptr_t, intptr_t, pfx::IObject** refs) {
    if (!refs) return;
    for (int i = 0; i < 2; ++i) {
        if (refs[i]) refs[i]->Release();
    }
}

const SPanelSetting* CChatPlugin::FindRow(const std::u16string& name) const {
    for (const SPanelSetting* row = PanelTable(); row && row->enabled; ++row) {
        if (row->ctrlName && name == row->ctrlName) return row;
    }
    return nullptr;
}

std::u16string CChatPlugin::RegistryKey(const char16_t* name) const {
    if (name && *name) return name;
    const SPanelSetting* row = PanelTable();
    return row && row->enabled && row->ctrlName ? std::u16string(row->ctrlName) : std::u16string();
}

bool CChatPlugin::IsCtrlProvided(const char16_t* name) { return name && FindRow(name) != nullptr; }

bool CChatPlugin::CreateCtrl(const char16_t* name) {
    return AttachPanel({.name = name, .skipIfPresent = true});
}

bool CChatPlugin::CreateCtrlEx(const char16_t* name, HWND window, pfx::ICtrlCallback* callback, int x, int y,
                               pfx::IStr2StrMap* attributes) {
    return AttachPanel({.name = name, .window = window, .callback = callback, .skipIfPresent = true,
                        .attributes = attributes, .x = x, .y = y});
}

bool CChatPlugin::ShowCtrl(const char16_t* name, intptr_t parameter, bool activate) {
    return AttachPanel({.name = name, .activate = activate, .parameter = parameter});
}

bool CChatPlugin::FindPanelWindow(const char16_t* name, HWND& window) {
    CControlUI* stored = nullptr;
    if (!name || !m_ctrlFactory.FindCtrl(name, &stored, nullptr, nullptr)) return false;
    // The registry keeps the window of a panel in its control slot.
    window = reinterpret_cast<HWND>(stored);
    return true;
}

void CChatPlugin::DestroyCtrl(const char16_t* name) {
    pfx::IHost* host = GetModuleHost();
    pfx::IWndMgr* manager = host ? host->GetWndMgr() : nullptr;
    HWND window = nullptr;
    const char16_t* key = GetInstanceId();
    if (manager && key && FindPanelWindow(name, window)) manager->RemoveCtrl(window, key);
}

void CChatPlugin::GetCtrl(CControlUI** out, const char16_t* name) {
    if (!out) return;
    pfx::IHost* host = GetModuleHost();
    pfx::IWndMgr* manager = host ? host->GetWndMgr() : nullptr;
    HWND window = nullptr;
    const char16_t* key = GetInstanceId();
    if (manager && key && FindPanelWindow(name, window)) *out = manager->FindCtrl(window, key);
}

bool CChatPlugin::AttachPanel(const SAttach& request) {
    pfx::IHost* host = GetModuleHost();
    pfx::IWndMgr* manager = host ? host->GetWndMgr() : nullptr;
    if (!request.name || !*request.name || !manager) return false;
    pfx::CStr2StrMap localAttributes;
    pfx::IStr2StrMap* attributes = request.attributes ? request.attributes : &localAttributes;

    HWND window = request.window;
    pfx::ICtrlCallback* callback = request.callback;
    if (window) {
        m_ctrlFactory.AddCtrl(request.name, reinterpret_cast<CControlUI*>(window),
                              reinterpret_cast<intptr_t>(callback), attributes);
    } else {
        CControlUI* storedWindow = nullptr;
        intptr_t storedCallback = 0;
        if (!m_ctrlFactory.FindCtrl(request.name, &storedWindow, &storedCallback, nullptr)) return false;
        window = reinterpret_cast<HWND>(storedWindow);
        callback = reinterpret_cast<pfx::ICtrlCallback*>(storedCallback);
    }
    pfx::IPluginObject* owner = nullptr;
    pfx::IObject* ownerObject = nullptr;
    const char16_t* ownerName = m_ctrlFactory.GetAttr(request.name);
    if (ownerName && *ownerName && host->QueryObject(ownerName, &ownerObject)) {
        owner = dynamic_cast<pfx::IPluginObject*>(ownerObject);
        // The registry keeps the owner alive; the attach only borrows it.
        ownerObject->Release();
    }

    const char16_t* key = GetInstanceId();
    if (!key) return false;
    CControlUI* control = manager->FindCtrl(window, key);
    if (!control) {
        const SPanelSetting* row = FindRow(request.name);
        CControlUI* parent = manager->FindCtrl(window, request.name);
        if (!row || !row->creator || !row->creator(parent, row->layout, key, attributes, request.x, request.y, false))
            return false;
        control = manager->FindCtrl(window, key);
        if (!control) return false;
        if (owner) owner->OnCtrlFactoryNotify(request.name, key, window);
        if (callback && callback->OnCtrlCreated(control)) return false;
        manager->RefreshWnd(window);
    }
    if (request.skipIfPresent) return true;
    if (request.activate) manager->ActivateCtrl(window, key);
    if (owner && owner->OnCtrlOffer(control)) return false;
    if (callback && callback->OnCtrlCreated(control)) return false;
    if (OnCtrlFactoryCheck(control)) return false;
    manager->SetCtrlParam(window, key, request.parameter);
    manager->RefreshWnd(window);
    return true;
}

void CChatPlugin::AddCtrl(const char16_t* name, CControlUI* control, intptr_t value, pfx::IStr2StrMap* attributes) {
    const std::u16string key = RegistryKey(name);
    m_ctrlFactory.AddCtrl(key.c_str(), control, value, attributes);
}

bool CChatPlugin::FindCtrl(const char16_t* name, CControlUI** outControl, intptr_t* outValue,
                           pfx::IAttrSink* attributeSink) {
    const std::u16string key = RegistryKey(name);
    return m_ctrlFactory.FindCtrl(key.c_str(), outControl, outValue, attributeSink);
}

bool CChatPlugin::HasCtrl(const CControlUI* control) { return m_ctrlFactory.HasCtrl(control); }

void CChatPlugin::SetAttr(const char16_t* name, const char16_t* value) {
    const std::u16string key = RegistryKey(name);
    m_ctrlFactory.SetAttr(key.c_str(), value);
}

const char16_t* CChatPlugin::GetAttr(const char16_t* name) {
    const std::u16string key = RegistryKey(name);
    return m_ctrlFactory.GetAttr(key.c_str());
}

void CChatPlugin::SetCurName(const char16_t* name) {
    const std::u16string key = RegistryKey(name);
    m_ctrlFactory.SetCurName(key.c_str());
}

const char16_t* CChatPlugin::GetCurName() { return m_ctrlFactory.GetCurName(); }

}  // namespace tavi
