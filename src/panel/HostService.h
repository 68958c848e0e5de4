// A service of the host's object registry, held for one use.
#pragma once

#include "module/ModuleDll.h"
#include "sdk/pfx.h"

namespace tavi {

// Created by class identifier, released when it goes out of scope; false
// when the host lacks it or it is not that kind of service.
template <class Service>
class CHostService {
public:
    explicit CHostService(const pfx::GUID& classId) {
        pfx::IHost* host = GetModuleHost();
        if (host && host->CreateObject(&m_object, classId) && m_object) m_service = dynamic_cast<Service*>(m_object);
    }
    ~CHostService() {
        if (m_object) m_object->Release();
    }
    CHostService(const CHostService&) = delete;
    CHostService& operator=(const CHostService&) = delete;
    Service* operator->() const { return m_service; }
    explicit operator bool() const { return m_service != nullptr; }

private:
    pfx::IObject* m_object = nullptr;
    Service* m_service = nullptr;
};

}  // namespace tavi
