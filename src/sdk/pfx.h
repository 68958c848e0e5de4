// The host's object family as the component sees it: identifiers,
// reference-counted objects, the module interface and the registrars
// through which the host learns what the module offers.
#pragma once

#include <cstdint>
#include <cstring>

namespace pfx {

// A 16-byte class identifier, laid out like the platform's GUID and
// compared as raw bytes.
struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
    friend bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
};
static_assert(sizeof(GUID) == 16);

// Bytewise order of the 16 identifier bytes, as the class registry keeps them.
struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

namespace detail {
constexpr uint32_t HexDigit(char c) {
    return c >= '0' && c <= '9' ? uint32_t(c - '0')
         : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
         : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
         : throw "not a hexadecimal digit";
}
constexpr uint32_t Hex(const char* s, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v * 16 + HexDigit(s[i]);
    return v;
}
}  // namespace detail

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile time.
constexpr GUID MakeGuid(const char (&s)[39]) {
    GUID g;
    g.Data1 = detail::Hex(s + 1, 8);
    g.Data2 = uint16_t(detail::Hex(s + 10, 4));
    g.Data3 = uint16_t(detail::Hex(s + 15, 4));
    g.Data4[0] = uint8_t(detail::Hex(s + 20, 2));
    g.Data4[1] = uint8_t(detail::Hex(s + 22, 2));
    for (int i = 0; i < 6; ++i) g.Data4[2 + i] = uint8_t(detail::Hex(s + 25 + 2 * i, 2));
    return g;
}

// Every host-visible object. The count starts at 1; Release destroys the
// object when it reaches exactly 0; DecRef never destroys.
struct IObject {
    virtual ~IObject() = default;
    virtual GUID GetClassId() const = 0;
    virtual int32_t Release() = 0;
    virtual bool QueryObject(const GUID& iid, void** out, int32_t flags) = 0;
    virtual int32_t AddRef() = 0;
    virtual int32_t DecRef() = 0;
};

// The host's receivers of what a module announces.
struct IClassRegistrar {
    virtual ~IClassRegistrar() = default;
    virtual void AddClass(const GUID& moduleId, const GUID& classId) = 0;
};

struct IPluginManager {
    virtual ~IPluginManager() = default;
    virtual void AddPlugin(const GUID& moduleId, const GUID& categoryId, const GUID& pluginId) = 0;
};

struct IObjMsgRegistrar {
    virtual ~IObjMsgRegistrar() = default;
    virtual void AddMsg(uintptr_t tag, const GUID& moduleId, uint32_t msgId) = 0;
};

struct IWndMgr;

// The host object handed to IDllObj::Init: its class factory, its
// registry of named objects, and its window manager.
struct IHost {
    virtual ~IHost() = default;
    // Creates an object of any module by class identifier.
    virtual bool CreateObject(IObject** out, const GUID& classId) = 0;
    // The object registered under a name, with one more reference for the
    // caller; false when there is none.
    virtual bool QueryObject(const char16_t* name, IObject** out) = 0;
    virtual IWndMgr* GetWndMgr() = 0;
};

// Where plug-ins register their instance ids.
struct IObjSink {
    virtual ~IObjSink() = default;
    virtual void Register(const char16_t* id, IObject* object) = 0;
    virtual void Unregister(const char16_t* id) = 0;
};

// The module's side of the host's class factory.
struct IClassFactoryNotify {
    virtual ~IClassFactoryNotify() = default;
    virtual void EnumClasses(IClassRegistrar* registrar) = 0;
    virtual bool CreateObject(IObject** out, const GUID& classId) = 0;
};

// A message map entry: {message id, 0, 1, handler}; the table ends with an
// entry whose third word is 0.
using MsgHandlerFn = void (*)(intptr_t param1, intptr_t param2);
struct MsgMapEntry {
    uint32_t msgId;
    uint32_t reserved;
    uint32_t valid;
    MsgHandlerFn handler;
};
struct MsgMap {
    const MsgMap* base;
    const MsgMapEntry* entries;
};

struct IObjMsgTarget {
    virtual ~IObjMsgTarget() = default;
    virtual void RegisterMsgs(IObjMsgRegistrar* target) = 0;
    // refs: the two references that travel with the message; the receiver
    // releases them.
    virtual void OnObjMsg(uint32_t msgId, intptr_t param1, intptr_t param2, IObject** refs) = 0;
};

struct IComplusWndMgrNotify {
    virtual ~IComplusWndMgrNotify() = default;
    virtual void OnWndMgr(void* manager) = 0;
    virtual void EnumPlugins(IPluginManager* manager) = 0;
};

struct IDllObj : IClassFactoryNotify, IObjMsgTarget, IComplusWndMgrNotify, IObject {
    virtual const char16_t* GetModuleName() = 0;
    virtual bool Init(IHost* host) = 0;
    virtual void Uninit() = 0;
    virtual bool CanUnload() = 0;
    virtual bool IsBusy() = 0;
    virtual const MsgMap* GetMsgMap() const = 0;
};

}  // namespace pfx

// The module's one export.
extern "C" pfx::IDllObj* CreateDllObj(const char16_t* name);
