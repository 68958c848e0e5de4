// The module's list of wide strings for host calls.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "module/ObjectImpl.h"
#include "module/StdIterator.h"
#include "sdk/pfx_containers.h"

namespace pfx {

template <typename Tag = PARAM_NAME_IVEC_STR>
class CStdContainer : public tavi::CObjectImpl<IStdContainer<Tag>> {
public:
    using Iterator = typename IStdContainer<Tag>::Iterator;
    static constexpr GUID kClassId = MakeGuid("{CCDA1B28-1D1B-4823-8D68-CC7DC81D3CDC}");

    GUID GetClassId() const override { return kClassId; }
    uint32_t GetCount() const override { return uint32_t(m_items.size()); }

    bool GetIterator(Iterator** out) override {
        if (!out) return false;
        if (!*out) {
            *out = new CStdIterator<Tag>(this, &m_items);
            return true;
        }
        // Only our own kind of iterator can be pointed at this list.
        auto* iterator = dynamic_cast<CStdIterator<Tag>*>(*out);
        if (!iterator) return false;
        iterator->Reset(this, &m_items);
        return true;
    }
    bool IsEnd(const Iterator* iterator) const override {
        auto* own = dynamic_cast<const CStdIterator<Tag>*>(iterator);
        return !own || !own->BelongsTo(&m_items) || own->AtEnd();
    }

    void Add(const char16_t* text) override {
        if (text) m_items.emplace_back(text);
    }
    void Clear() override { m_items.clear(); }
    bool IsEmpty() const override { return m_items.empty(); }

    uint32_t CountIf(ItemPredicate predicate, void* user) const override {
        if (!predicate) return 0;
        uint32_t count = 0;
        for (const auto& item : m_items)
            if (predicate(item.c_str(), user)) ++count;
        return count;
    }
    void ClearWith(ItemCallback callback, void* user) override {
        ForEach(callback, user);
        Clear();
    }
    void ForEach(ItemCallback callback, void* user) const override {
        if (!callback) return;
        for (const auto& item : m_items) callback(item.c_str(), user);
    }

    // A critical section may be entered again by its owner; so may this.
    void Lock() override { m_lock.lock(); }
    void Unlock() override { m_lock.unlock(); }

private:
    std::vector<std::u16string> m_items;
    std::recursive_mutex m_lock;
};

using CStrVector = CStdContainer<PARAM_NAME_IVEC_STR>;

}  // namespace pfx
