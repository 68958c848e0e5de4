// Reference counting shared by every host-visible object of the module:
// the count starts at 1, Release destroys at exactly 0, DecRef never
// destroys, and no object answers QueryObject.
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/pfx.h"

namespace tavi {

template <typename Base>
class CObjectImpl : public Base {
public:
    using Base::Base;

    int32_t Release() override {
        const int32_t count = --m_refCount;
        if (count == 0) delete this;
        return count;
    }
    bool QueryObject(const pfx::GUID&, void**, int32_t) override { return false; }
    int32_t AddRef() override { return ++m_refCount; }
    int32_t DecRef() override { return --m_refCount; }

    int32_t RefCount() const { return m_refCount.load(); }

private:
    std::atomic<int32_t> m_refCount{1};
};

}  // namespace tavi
