// Plug-ins of the host's chat windows: objects that put panels into the
// host's windows through the control-factory questions the host asks.
#pragma once

#include <cstdint>

#include "sdk/pfx.h"
#include "sdk/pfx_containers.h"
#include "sdk/win32.h"

class CControlUI;

namespace pfx {

// Offered each control an attach made; true declines it.
struct ICtrlCallback {
    virtual ~ICtrlCallback() = default;
    virtual bool OnCtrlCreated(CControlUI* control) = 0;
};

struct ICtrlFactory {
    virtual ~ICtrlFactory() = default;
    virtual bool CreateCtrl(const char16_t* name) = 0;
    virtual bool CreateCtrlEx(const char16_t* name, HWND window, ICtrlCallback* callback, int x, int y,
                              IStr2StrMap* attributes) = 0;
    virtual void DestroyCtrl(const char16_t* name) = 0;
    virtual void GetCtrl(CControlUI** out, const char16_t* name) = 0;
    virtual bool ShowCtrl(const char16_t* name, intptr_t parameter, bool activate) = 0;
    virtual bool IsCtrlProvided(const char16_t* name) = 0;
    // What a plug-in is told when another's control was made for it, and
    // the two offers of a made control; by default nothing and false.
    virtual void OnCtrlFactoryNotify(const char16_t*, const char16_t*, HWND) {}
    virtual bool OnCtrlOffer(CControlUI*) { return false; }
    virtual bool OnCtrlFactoryCheck(CControlUI*) { return false; }
    // The plug-in's own registry of controls.
    virtual void AddCtrl(const char16_t* name, CControlUI* control, intptr_t value, IStr2StrMap* attributes) = 0;
    virtual bool FindCtrl(const char16_t* name, CControlUI** outControl, intptr_t* outValue,
                          IAttrSink* attributeSink) = 0;
    virtual bool HasCtrl(const CControlUI* control) = 0;
    virtual void SetAttr(const char16_t* name, const char16_t* value) = 0;
    virtual const char16_t* GetAttr(const char16_t* name) = 0;
    virtual void SetCurName(const char16_t* name) = 0;
    virtual const char16_t* GetCurName() = 0;
};

struct IPluginObject : IObject, IObjMsgTarget, ICtrlFactory {};

}  // namespace pfx

namespace compls {

struct IChatPlugin : pfx::IPluginObject {
    virtual const char16_t* GetSessionName() = 0;
    virtual void Attach(pfx::IObjSink* sink, void* tag, const char16_t* name) = 0;
    // Null when no identifier could be made.
    virtual const char16_t* GetInstanceId() = 0;
    virtual void* GetTag() = 0;
    virtual void Init(const char16_t* instanceName, int32_t kind, const pfx::GUID& key, const pfx::GUID* windowKey) = 0;
    virtual pfx::GUID GetKey() = 0;
    virtual int32_t GetKind() = 0;
    virtual const char16_t* GetInstanceName() = 0;
    virtual pfx::GUID GetWindowKey() = 0;
    virtual bool Reserved1(void*) { return false; }
    virtual void Reserved2(void*) {}
    virtual int Reserved3(void*) { return -1; }
};

}  // namespace compls
