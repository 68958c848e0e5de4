// What a plug-in object remembers of the controls it created for the host:
// each control by name with a value and its attributes, plus a small
// attribute bag and the name of the current control.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "sdk/pfx_containers.h"

class CControlUI;

namespace tavi {

class CCtrlFactory {
public:
    CCtrlFactory();
    virtual ~CCtrlFactory();
    CCtrlFactory(const CCtrlFactory&) = delete;
    CCtrlFactory& operator=(const CCtrlFactory&) = delete;

    // Stores `control` under `name` with `value` and the pairs of
    // `attributes` (may be null), replacing an older entry; a null control
    // removes the entry instead. `value` is wide enough for a pointer.
    virtual void AddCtrl(const char16_t* name, CControlUI* control, intptr_t value, pfx::IStr2StrMap* attributes);
    // True only for an entry with a control; then fills what is given and
    // replays the entry's attributes into `attributeSink` as (name, value, true).
    virtual bool FindCtrl(const char16_t* name, CControlUI** outControl, intptr_t* outValue,
                          pfx::IAttrSink* attributeSink);
    virtual bool HasCtrl(const CControlUI* control);
    virtual void SetAttr(const char16_t* name, const char16_t* value);
    // "" when nothing is stored; valid until the next SetAttr.
    virtual const char16_t* GetAttr(const char16_t* name);
    virtual void SetCurName(const char16_t* name);
    virtual const char16_t* GetCurName();

private:
    using Attributes = std::map<std::u16string, std::u16string>;
    struct SCtrlEntry {
        CControlUI* control = nullptr;  // not owned
        intptr_t value = 0;
        Attributes attributes;
    };

    std::map<std::u16string, SCtrlEntry> m_ctrls;
    std::unique_ptr<Attributes> m_pAttrs;
    std::unique_ptr<std::u16string> m_pCurName;
};

}  // namespace tavi
