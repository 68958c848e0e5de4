// Driver API of the host: its object registry, the registrars that
// record what a module announces, and the modules it has loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/pfx.h"

namespace sim {

// The host object that the host program hands to IDllObj::Init.
pfx::IHost* GetHost();
pfx::IClassRegistrar* GetClassRegistrar();
pfx::IPluginManager* GetPluginManager();
pfx::IObjMsgRegistrar* GetObjMsgRegistrar();
pfx::IObjSink* GetObjSink();

// Modules whose classes the host's class factory creates.
void AddModule(pfx::IDllObj* module);
void RemoveModule(pfx::IDllObj* module);

// Named objects: the host keeps a pointer, not a reference; the owner
// unregisters before it goes.
void RegisterNamedObject(const std::u16string& name, pfx::IObject* object);
void UnregisterNamedObject(const std::u16string& name);
pfx::IObject* FindNamedObject(const std::u16string& name);

struct ClassRecord {
    pfx::GUID module;
    pfx::GUID cls;
};
struct PluginRecord {
    pfx::GUID module;
    pfx::GUID category;
    pfx::GUID plugin;
};
struct MsgRecord {
    uint32_t tag;
    pfx::GUID module;
    uint32_t msgId;
};
const std::vector<ClassRecord>& AnnouncedClasses();
const std::vector<PluginRecord>& AnnouncedPlugins();
const std::vector<MsgRecord>& AnnouncedMsgs();

}  // namespace sim

namespace qel {
struct IQelInst;
}

namespace sim {
// The application object's current SDK instance (not owned).
void SetCurrentQelInst(qel::IQelInst* inst);
}  // namespace sim
