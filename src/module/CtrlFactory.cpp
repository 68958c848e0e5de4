#include "module/CtrlFactory.h"

namespace tavi {

namespace {

bool IsEmptyText(const char16_t* text) { return !text || !*text; }

// Walks the host's enumerator from its first pair to its end. The lock
// keeps another thread from changing the map under the walk.
std::map<std::u16string, std::u16string> ReadPairs(pfx::IStr2StrMap* pairs) {
    std::map<std::u16string, std::u16string> result;
    if (!pairs) return result;
    pairs->Lock();
    for (pairs->MoveFirst(); !pairs->IsEnd(); pairs->MoveNext()) result[pairs->GetKey()] = pairs->GetValue();
    pairs->Unlock();
    return result;
}

}  // namespace

CCtrlFactory::CCtrlFactory() = default;
CCtrlFactory::~CCtrlFactory() = default;

void CCtrlFactory::AddCtrl(const char16_t* name, CControlUI* control, intptr_t value, pfx::IStr2StrMap* attributes) {
    if (IsEmptyText(name)) return;
    if (!control) {
        m_ctrls.erase(name);
        return;
    }
    m_ctrls[name] = SCtrlEntry{control, value, ReadPairs(attributes)};
}

bool CCtrlFactory::FindCtrl(const char16_t* name, CControlUI** outControl, intptr_t* outValue,
                            pfx::IAttrSink* attributeSink) {
    if (IsEmptyText(name)) return false;
    auto it = m_ctrls.find(name);
    if (it == m_ctrls.end() || !it->second.control) return false;
    const SCtrlEntry& entry = it->second;
    if (outControl) *outControl = entry.control;
    if (outValue) *outValue = entry.value;
    if (attributeSink) {
        for (const auto& [key, value] : entry.attributes) attributeSink->SetAttribute(key.c_str(), value.c_str(), true);
    }
    return true;
}

bool CCtrlFactory::HasCtrl(const CControlUI* control) {
    if (!control) return false;
    for (const auto& [name, entry] : m_ctrls)
        if (entry.control == control) return true;
    return false;
}

void CCtrlFactory::SetAttr(const char16_t* name, const char16_t* value) {
    if (IsEmptyText(name) || IsEmptyText(value)) return;
    if (!m_pAttrs) m_pAttrs = std::make_unique<Attributes>();
    (*m_pAttrs)[name] = value;
}

const char16_t* CCtrlFactory::GetAttr(const char16_t* name) {
    if (IsEmptyText(name) || !m_pAttrs) return u"";
    auto it = m_pAttrs->find(name);
    return it == m_pAttrs->end() ? u"" : it->second.c_str();
}

void CCtrlFactory::SetCurName(const char16_t* name) {
    if (IsEmptyText(name)) return;
    if (!m_pCurName) m_pCurName = std::make_unique<std::u16string>();
    *m_pCurName = name;
}

const char16_t* CCtrlFactory::GetCurName() { return m_pCurName ? m_pCurName->c_str() : u""; }

}  // namespace tavi
