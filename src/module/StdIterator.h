// A position in a string list. It keeps its list alive, so a caller that
// drops the list before the iterator reads nothing freed.
#pragma once

#include <string>
#include <vector>

#include "module/ObjectImpl.h"
#include "sdk/pfx_containers.h"

namespace pfx {

template <typename Tag = PARAM_NAME_IVEC_STR>
class CStdIterator : public tavi::CObjectImpl<typename IStdContainer<Tag>::Iterator> {
public:
    static constexpr GUID kClassId = MakeGuid("{918578D9-584B-46CE-820B-6EC5C33AE570}");

    CStdIterator(IObject* owner, std::vector<std::u16string>* items) { Reset(owner, items); }
    ~CStdIterator() override {
        if (m_owner) m_owner->Release();
    }
    CStdIterator(const CStdIterator&) = delete;
    CStdIterator& operator=(const CStdIterator&) = delete;

    // Points the iterator at the first element of `items`, owned by `owner`.
    void Reset(IObject* owner, std::vector<std::u16string>* items) {
        if (owner != m_owner) {
            if (owner) owner->AddRef();
            if (m_owner) m_owner->Release();
            m_owner = owner;
        }
        m_items = items;
        m_index = 0;
    }
    bool BelongsTo(const std::vector<std::u16string>* items) const { return m_items == items; }
    bool AtEnd() const { return !m_items || m_index >= m_items->size(); }

    GUID GetClassId() const override { return kClassId; }
    void MoveNext() override {
        if (!AtEnd()) ++m_index;
    }
    const char16_t* GetValue() const override { return AtEnd() ? u"" : (*m_items)[m_index].c_str(); }
    void SetValue(const char16_t* text) override {
        if (text && !AtEnd()) (*m_items)[m_index] = text;
    }

private:
    IObject* m_owner = nullptr;
    std::vector<std::u16string>* m_items = nullptr;
    size_t m_index = 0;
};

}  // namespace pfx
