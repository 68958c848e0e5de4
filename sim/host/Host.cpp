// The host process's object: class factory over the loaded modules, a
// registry of named objects, and the registrars a module reports to.
#include <algorithm>
#include <map>

#include "sim/core/Reset.h"
#include "sim/driver.h"
#include "sim/host/HostServices.h"

namespace sim {

namespace {

struct HostState {
    std::vector<pfx::IDllObj*> modules;
    std::map<std::u16string, pfx::IObject*> named;
    std::vector<ClassRecord> classes;
    std::vector<PluginRecord> plugins;
    std::vector<MsgRecord> msgs;
};

HostState& State() {
    static HostState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = HostState{}; });

class Host final : public pfx::IHost,
                   public pfx::IClassRegistrar,
                   public pfx::IPluginManager,
                   public pfx::IObjMsgRegistrar,
                   public pfx::IObjSink {
public:
    bool CreateObject(pfx::IObject** out, const pfx::GUID& classId) override {
        if (!out) return false;
        if (CreateHostService(out, classId)) return true;
        for (pfx::IDllObj* module : State().modules) {
            if (module->CreateObject(out, classId)) return true;
        }
        return false;
    }

    bool QueryObject(const char16_t* name, pfx::IObject** out) override {
        if (!name || !out) return false;
        pfx::IObject* object = FindNamedObject(name);
        if (!object) return false;
        object->AddRef();
        *out = object;
        return true;
    }

    pfx::IWndMgr* GetWndMgr() override { return m_wndMgr; }

    void AddClass(const pfx::GUID& moduleId, const pfx::GUID& classId) override {
        State().classes.push_back({moduleId, classId});
    }
    void AddPlugin(const pfx::GUID& moduleId, const pfx::GUID& categoryId, const pfx::GUID& pluginId) override {
        State().plugins.push_back({moduleId, categoryId, pluginId});
    }
    void AddMsg(uintptr_t tag, const pfx::GUID& moduleId, uint32_t msgId) override {
        State().msgs.push_back({tag, moduleId, msgId});
    }

    void Register(const char16_t* id, pfx::IObject* object) override {
        if (id && object) RegisterNamedObject(id, object);
    }
    void Unregister(const char16_t* id) override {
        if (id) UnregisterNamedObject(id);
    }

    pfx::IWndMgr* m_wndMgr = HostWndMgr();
};

Host& TheHost() {
    static Host host;
    return host;
}

}  // namespace

pfx::IHost* GetHost() { return &TheHost(); }
pfx::IClassRegistrar* GetClassRegistrar() { return &TheHost(); }
pfx::IPluginManager* GetPluginManager() { return &TheHost(); }
pfx::IObjMsgRegistrar* GetObjMsgRegistrar() { return &TheHost(); }
pfx::IObjSink* GetObjSink() { return &TheHost(); }

void AddModule(pfx::IDllObj* module) {
    if (module && std::find(State().modules.begin(), State().modules.end(), module) == State().modules.end())
        State().modules.push_back(module);
}

void RemoveModule(pfx::IDllObj* module) {
    auto& modules = State().modules;
    modules.erase(std::remove(modules.begin(), modules.end(), module), modules.end());
}

void RegisterNamedObject(const std::u16string& name, pfx::IObject* object) { State().named[name] = object; }
void UnregisterNamedObject(const std::u16string& name) { State().named.erase(name); }

pfx::IObject* FindNamedObject(const std::u16string& name) {
    auto it = State().named.find(name);
    return it == State().named.end() ? nullptr : it->second;
}

const std::vector<ClassRecord>& AnnouncedClasses() { return State().classes; }
const std::vector<PluginRecord>& AnnouncedPlugins() { return State().plugins; }
const std::vector<MsgRecord>& AnnouncedMsgs() { return State().msgs; }

}  // namespace sim
