// The module object the host gets from CreateDllObj: the class registry,
// the plug-in records and the message map.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "module/ObjectImpl.h"
#include "sdk/pfx.h"
#include "sdk/win32.h"

namespace tavi {

// Builds objects of one registered class.
class ICreateInstance {
public:
    virtual ~ICreateInstance() = default;
    virtual bool Create(pfx::IObject** out, pfx::IHost* host) = 0;
};

// A plain creation function: allocates the object (count 1), stores it, or
// null when the allocation failed, and answers true either way.
using CreateFn = bool (*)(pfx::IObject** out);

template <typename T>
bool CreateObjectOf(pfx::IObject** out) {
    *out = new (std::nothrow) T();
    return true;
}

class BindFunc final : public ICreateInstance {
public:
    explicit BindFunc(CreateFn fn) : m_fn(fn) {}
    bool Create(pfx::IObject** out, pfx::IHost*) override { return out && m_fn ? m_fn(out) : false; }

private:
    CreateFn m_fn;
};

// One instance shared by every caller; the creator owns the first reference.
template <typename T>
class BindVar final : public ICreateInstance {
public:
    ~BindVar() override {
        if (m_instance) m_instance->Release();
    }
    bool Create(pfx::IObject** out, pfx::IHost*) override {
        if (!out) return false;
        if (!m_instance) m_instance = new (std::nothrow) T();
        if (m_instance) m_instance->AddRef();
        *out = m_instance;
        return true;
    }

private:
    T* m_instance = nullptr;
};

class CCommonDllObject : public CObjectImpl<pfx::IDllObj> {
public:
    explicit CCommonDllObject(const char16_t* name);
    ~CCommonDllObject() override;

    // pfx::IClassFactoryNotify
    void EnumClasses(pfx::IClassRegistrar* registrar) override;
    bool CreateObject(pfx::IObject** out, const pfx::GUID& classId) override;
    // pfx::IObjMsgTarget
    void RegisterMsgs(pfx::IObjMsgRegistrar* target) override;
    void OnObjMsg(uint32_t msgId, intptr_t param1, intptr_t param2, pfx::IObject** refs) override;
    // pfx::IComplusWndMgrNotify
    void OnWndMgr(void*) override {}
    void EnumPlugins(pfx::IPluginManager* manager) override;
    // pfx::IDllObj
    const char16_t* GetModuleName() override { return m_moduleName.c_str(); }
    bool Init(pfx::IHost* host) override;
    void Uninit() override {}
    bool CanUnload() override { return false; }
    bool IsBusy() override { return false; }
    const pfx::MsgMap* GetMsgMap() const override;

    pfx::IHost* GetHost() const { return m_host; }

protected:
    void RegisterClass(const pfx::GUID& classId, std::unique_ptr<ICreateInstance> creator);
    void RegisterPlugin(const pfx::GUID& pluginId, CreateFn create);

    pfx::IHost* m_host = nullptr;

private:
    struct PluginRecord {
        pfx::GUID category;
        pfx::GUID plugin;
    };
    std::map<pfx::GUID, std::unique_ptr<ICreateInstance>, pfx::GuidLess> m_classes;
    std::vector<std::unique_ptr<PluginRecord>> m_plugins;
    std::u16string m_moduleName;
    std::u16string m_name;
};

class CModuleDll final : public CCommonDllObject {
public:
    explicit CModuleDll(const char16_t* name);
    ~CModuleDll() override;

    pfx::GUID GetClassId() const override;
    bool Init(pfx::IHost* host) override;
    void Uninit() override;
    const pfx::MsgMap* GetMsgMap() const override;
};

// The module object, null before CreateDllObj.
CModuleDll* GetModuleObject();
// The host object stored by Init, null before it.
pfx::IHost* GetModuleHost();
// The file of this module, with the platform's separators.
std::u16string GetModuleFilePath();
// This module's instance handle.
HMODULE GetModuleInstance();

}  // namespace tavi
