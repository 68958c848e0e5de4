// The chat plug-ins: each puts one panel into the tool-bar area of a
// conversation window and answers the host's control-factory questions.
#pragma once

#include <cstdint>
#include <string>

#include "module/CtrlFactory.h"
#include "module/ObjectImpl.h"
#include "sdk/pfx_plugin.h"

namespace tavi {

// Builds a plug-in's panel inside `parent` from `layout`, with `ctrlName`
// as the panel's control id, its top-left corner at (x, y) inside the
// parent unless both are 0 (then where the layout puts it). With `replace`
// the panel takes the place of the parent's child of the same name.
using PanelCreator = bool (*)(CControlUI* parent, const char16_t* layout, const char16_t* ctrlName,
                              pfx::IStr2StrMap* attributes, int x, int y, bool replace);

// One row of a plug-in's panel table; the table ends with an all-empty row.
struct SPanelSetting {
    bool enabled;  // false ends the table
    PanelCreator creator;
    const char16_t* ctrlName;
    const char16_t* layout;
    const char16_t* extra1;
    const char16_t* extra2;
};

// What both plug-ins share: the host's identity of the plug-in object,
// its panel registry and the attach path.
class CChatPlugin : public compls::IChatPlugin {
public:
    // compls::IChatPlugin (the Complus part is ComplusObject's)
    void Init(const char16_t* instanceName, int32_t kind, const pfx::GUID& key, const pfx::GUID* windowKey) override;
    pfx::GUID GetKey() override { return m_key; }
    int32_t GetKind() override { return m_kind; }
    const char16_t* GetInstanceName() override { return m_instanceName.c_str(); }
    pfx::GUID GetWindowKey() override { return m_windowKey; }

    // pfx::ICtrlFactory
    bool CreateCtrl(const char16_t* name) override;
    bool CreateCtrlEx(const char16_t* name, HWND window, pfx::ICtrlCallback* callback, int x, int y,
                      pfx::IStr2StrMap* attributes) override;
    void DestroyCtrl(const char16_t* name) override;
    void GetCtrl(CControlUI** out, const char16_t* name) override;
    bool ShowCtrl(const char16_t* name, intptr_t parameter, bool activate) override;
    bool IsCtrlProvided(const char16_t* name) override;
    void AddCtrl(const char16_t* name, CControlUI* control, intptr_t value, pfx::IStr2StrMap* attributes) override;
    bool FindCtrl(const char16_t* name, CControlUI** outControl, intptr_t* outValue,
                  pfx::IAttrSink* attributeSink) override;
    bool HasCtrl(const CControlUI* control) override;
    void SetAttr(const char16_t* name, const char16_t* value) override;
    const char16_t* GetAttr(const char16_t* name) override;
    void SetCurName(const char16_t* name) override;
    const char16_t* GetCurName() override;

    // pfx::IObjMsgTarget: plug-ins without messages keep these.
    void RegisterMsgs(pfx::IObjMsgRegistrar*) override {}
    void OnObjMsg(uint32_t, intptr_t, intptr_t, pfx::IObject** refs) override;

protected:
    virtual const SPanelSetting* PanelTable() const = 0;
    // The window and name under which this plug-in's panel stands.
    bool FindPanelWindow(const char16_t* name, HWND& window);

private:
    // Creating stops at a panel that is already there; only showing goes on
    // to activate it and hand the window manager its parameter.
    struct SAttach {
        const char16_t* name = nullptr;
        HWND window = nullptr;
        pfx::ICtrlCallback* callback = nullptr;
        bool skipIfPresent = false;
        bool activate = false;
        intptr_t parameter = 0;
        pfx::IStr2StrMap* attributes = nullptr;
        int x = 0;
        int y = 0;
    };
    bool AttachPanel(const SAttach& request);
    const SPanelSetting* FindRow(const std::u16string& name) const;
    // A name argument of the registry: itself, or the table's control name.
    std::u16string RegistryKey(const char16_t* name) const;

    pfx::GUID m_key{};
    int32_t m_kind = 0;
    std::u16string m_instanceName;
    pfx::GUID m_windowKey{};
    CCtrlFactory m_ctrlFactory;
};

// The host's wrapper of a plug-in: counting, the session name, the tag,
// the instance id and the sink it is registered with.
template <typename T>
class ComplusObject final : public CObjectImpl<T> {
public:
    ~ComplusObject() override {
        if (m_sink && !m_instanceId.empty()) m_sink->Unregister(m_instanceId.c_str());
    }

    const char16_t* GetSessionName() override { return m_sessionName.c_str(); }
    void Attach(pfx::IObjSink* sink, void* tag, const char16_t* name) override {
        if (!sink || !tag) return;
        m_sessionName = name ? name : u"";
        // An id asked for before the sink was known is registered now.
        if (!m_instanceId.empty() && sink != m_sink) {
            if (m_sink) m_sink->Unregister(m_instanceId.c_str());
            sink->Register(m_instanceId.c_str(), this);
        }
        m_sink = sink;
        m_tag = tag;
    }
    const char16_t* GetInstanceId() override;
    void* GetTag() override { return m_tag; }

private:
    std::u16string m_sessionName;
    void* m_tag = nullptr;
    std::u16string m_instanceId;
    pfx::IObjSink* m_sink = nullptr;
};

// Makes the plug-in's instance id on first use and registers it.
bool MakeInstanceId(std::u16string& id);

template <typename T>
const char16_t* ComplusObject<T>::GetInstanceId() {
    if (m_instanceId.empty()) {
        if (!MakeInstanceId(m_instanceId)) return nullptr;
        if (m_sink) m_sink->Register(m_instanceId.c_str(), this);
    }
    return m_instanceId.c_str();
}

}  // namespace tavi
