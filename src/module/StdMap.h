// The module's ordered string map for host calls. Keys are ordered by plain
// comparison of UTF-16 code units. The map keeps one iterator position,
// which every change leaves on a valid pair or at the end.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "module/ObjectImpl.h"
#include "sdk/pfx_containers.h"
#include "util/Strings.h"

namespace pfx {

template <typename Tag = PARAM_NAME_ISTR2STR_MAP>
class CStdMap : public tavi::CObjectImpl<IStdMap<Tag>> {
public:
    static constexpr GUID kClassId = MakeGuid("{D052E1CE-E16A-4E38-B8AD-2AD27249A3DC}");

    GUID GetClassId() const override { return kClassId; }
    uint32_t GetCount() const override { return uint32_t(m_pairs.size()); }

    void MoveFirst() override { m_pos = m_pairs.begin(); }
    void MoveNext() override {
        if (m_pos != m_pairs.end()) ++m_pos;
    }
    bool IsEnd() const override { return m_pos == m_pairs.end(); }
    const char16_t* GetValue() const override { return IsEnd() ? u"" : m_pos->second.c_str(); }
    const char16_t* GetKey() const override { return IsEnd() ? u"" : m_pos->first.c_str(); }
    void SetValue(const char16_t* value) override {
        if (value && !IsEnd()) m_pos->second = value;
    }

    void Clear() override {
        m_pairs.clear();
        m_pos = m_pairs.end();
    }
    bool IsEmpty() const override { return m_pairs.empty(); }

    void Remove(const char16_t* key) override {
        if (!key) return;
        auto it = m_pairs.find(key);
        if (it != m_pairs.end()) Erase(it);
    }
    void RemoveCurrent() override {
        if (!IsEnd()) Erase(m_pos);
    }

    // A critical section may be entered again by its owner; so may this.
    void Lock() override { m_lock.lock(); }
    void Unlock() override { m_lock.unlock(); }

    bool Find(const char16_t* key, bool ignoreCase) override {
        if (!key) return false;
        auto it = m_pairs.find(key);
        if (it == m_pairs.end() && ignoreCase) it = FindNoCase(key);
        if (it == m_pairs.end()) return false;
        m_pos = it;
        return true;
    }

    bool Insert(const char16_t* key, const char16_t* value, bool moveTo) override {
        if (!key || !value) return false;
        auto [it, added] = m_pairs.emplace(key, value);
        if (moveTo) m_pos = it;
        return added;
    }

    void ClearWith(PairCallback callback, void* user) override {
        if (callback) ForEach(callback, user);
        Clear();
    }
    void ForEach(PairCallback callback, void* user) override {
        if (!callback) return;
        for (const auto& [key, value] : m_pairs) callback(key.c_str(), value.c_str(), user);
    }

private:
    using Map = std::map<std::u16string, std::u16string>;

    void Erase(typename Map::iterator it) {
        const bool current = it == m_pos;
        auto next = m_pairs.erase(it);
        if (current) m_pos = next;
    }
    typename Map::iterator FindNoCase(const char16_t* key) {
        for (auto it = m_pairs.begin(); it != m_pairs.end(); ++it)
            if (util::EqualsNoCase(it->first, key)) return it;
        return m_pairs.end();
    }

    Map m_pairs;
    typename Map::iterator m_pos = m_pairs.end();
    std::recursive_mutex m_lock;
};

using CStr2StrMap = CStdMap<PARAM_NAME_ISTR2STR_MAP>;

}  // namespace pfx
