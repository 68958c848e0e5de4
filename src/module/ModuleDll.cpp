#include "module/ModuleDll.h"

#include <new>

#include "component/TaviImpl.h"
#include "module/DllObject.h"
#include "module/Guids.h"
#include "module/Plugins.h"
#include "msghandle/QelMsgHandleImpl.h"
#include "sdk/platform.h"
#include "sdk/win32.h"
#include "tools/EmoticonBrowserImpl.h"

namespace tavi {

namespace {

CModuleDll* g_module = nullptr;

// The module's own instance, taken when the module is loaded.
const HMODULE g_instance = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&GetModuleObject));

// The file name without folder and extension: "/opt/x/libtavi.so" -> "libtavi".
std::u16string ModuleNameOf(std::u16string path) {
    for (char16_t& c : path) {
        if (c == u'/') c = u'\\';
    }
    const size_t slash = path.rfind(u'\\');
    if (slash != std::u16string::npos) path.erase(0, slash + 1);
    const size_t dot = path.rfind(u'.');
    if (dot != std::u16string::npos) path.erase(dot);
    return path;
}

// An entry whose valid flag is 0 ends a map (the empty entry does).
const pfx::MsgMapEntry kCommonEntries[] = {{}};
const pfx::MsgMap kCommonMsgMap = {nullptr, kCommonEntries};

const pfx::MsgMapEntry kModuleEntries[] = {
    {kMsgPreLogout, 0, 1, &OnProtocolPreLogout},
    {},
};
const pfx::MsgMap kModuleMsgMap = {&kCommonMsgMap, kModuleEntries};

}  // namespace

CModuleDll* GetModuleObject() { return g_module; }
pfx::IHost* GetModuleHost() { return g_module ? g_module->GetHost() : nullptr; }
std::u16string GetModuleFilePath() { return GetModuleFileNameW(g_instance); }
HMODULE GetModuleInstance() { return g_instance; }

CCommonDllObject::CCommonDllObject(const char16_t* name)
    : m_moduleName(ModuleNameOf(GetModuleFilePath())), m_name(name ? name : u"") {}

CCommonDllObject::~CCommonDllObject() = default;

void CCommonDllObject::RegisterClass(const pfx::GUID& classId, std::unique_ptr<ICreateInstance> creator) {
    m_classes.try_emplace(classId, std::move(creator));
}

void CCommonDllObject::RegisterPlugin(const pfx::GUID& pluginId, CreateFn create) {
    RegisterClass(pluginId, std::make_unique<BindFunc>(create));
    m_plugins.push_back(std::make_unique<PluginRecord>(PluginRecord{kChatPluginCategory, pluginId}));
}

void CCommonDllObject::EnumClasses(pfx::IClassRegistrar* registrar) {
    if (!registrar) return;
    for (const auto& entry : m_classes) registrar->AddClass(kModuleId, entry.first);
}

bool CCommonDllObject::CreateObject(pfx::IObject** out, const pfx::GUID& classId) {
    if (!out) return false;
    auto it = m_classes.find(classId);
    if (it == m_classes.end()) return false;
    return it->second->Create(out, m_host);
}

void CCommonDllObject::EnumPlugins(pfx::IPluginManager* manager) {
    if (!manager) return;
    for (const auto& record : m_plugins) manager->AddPlugin(kModuleId, record->category, record->plugin);
}

void CCommonDllObject::RegisterMsgs(pfx::IObjMsgRegistrar* target) {
    if (!target) return;
    for (const pfx::MsgMap* map = GetMsgMap(); map; map = map->base) {
        for (const pfx::MsgMapEntry* e = map->entries; e && e->valid != 0; ++e) target->AddMsg(0, kModuleId, e->msgId);
    }
}

void CCommonDllObject::OnObjMsg(uint32_t msgId, intptr_t param1, intptr_t param2, pfx::IObject** refs) {
    bool handled = false;
    for (const pfx::MsgMap* map = GetMsgMap(); map && !handled; map = map->base) {
        for (const pfx::MsgMapEntry* e = map->entries; e && e->valid != 0; ++e) {
            if (e->msgId == msgId && e->handler) {
                e->handler(param1, param2);
                handled = true;
                break;
            }
        }
    }
    // The two references that came with the message are the receiver's.
    if (refs) {
        for (int i = 0; i < 2; ++i) {
            if (refs[i]) refs[i]->Release();
        }
    }
}

bool CCommonDllObject::Init(pfx::IHost* host) {
    m_host = host;
    return false;
}

const pfx::MsgMap* CCommonDllObject::GetMsgMap() const { return &kCommonMsgMap; }

CModuleDll::CModuleDll(const char16_t* name) : CCommonDllObject(name) {
    RegisterClass(kTaviImplId, std::make_unique<BindFunc>(&CreateObjectOf<CTaviImpl>));
    RegisterClass(kQelMsgHandleImplId, std::make_unique<BindFunc>(&CreateObjectOf<CQelMsgHandleImpl>));
    RegisterClass(kEmoticonBrowserId, std::make_unique<BindVar<CEmoticonBrowserImpl>>());
    RegisterPlugin(kConvWndPluginId, &CreateConvWndPlugin);
    RegisterPlugin(kShakePluginId, &CreateShakePlugin);
}

// A later CreateDllObj within the same load builds a new module object
// rather than handing out a destroyed one.
CModuleDll::~CModuleDll() {
    if (g_module == this) g_module = nullptr;
}

pfx::GUID CModuleDll::GetClassId() const { return kModuleId; }

bool CModuleDll::Init(pfx::IHost* host) {
    if (!host) return false;
    m_host = host;
    OnCreatePlugin(host);
    return false;
}

void CModuleDll::Uninit() { OnDestroyPlugin(); }

const pfx::MsgMap* CModuleDll::GetMsgMap() const { return &kModuleMsgMap; }

}  // namespace tavi

extern "C" TAVI_EXPORT pfx::IDllObj* CreateDllObj(const char16_t* name) {
    if (tavi::CModuleDll* module = tavi::g_module) {
        module->AddRef();
        return module;
    }
    tavi::g_module = new (std::nothrow) tavi::CModuleDll(name);
    return tavi::g_module;
}
