// Named parameters for host calls.
#pragma once

#include <map>
#include <string>

#include "module/ObjectImpl.h"
#include "sdk/pfx_containers.h"

namespace pfx {

class CDynamicParamImpl : public tavi::CObjectImpl<IDynamicParam> {
public:
    static constexpr GUID kClassId = MakeGuid("{A8BCC755-C4D0-45FA-B76D-EADD39B89606}");

    GUID GetClassId() const override { return kClassId; }
    void SetParam(const char16_t* name, const char16_t* value) override {
        if (name && value) m_params[name] = value;
    }
    bool GetParam(const char16_t* name, IStdString* out) const override {
        if (!name) return false;
        auto it = m_params.find(name);
        if (it == m_params.end()) return false;
        if (out) out->SetString(it->second.c_str());
        return true;
    }

private:
    std::map<std::u16string, std::u16string> m_params;
};

}  // namespace pfx
