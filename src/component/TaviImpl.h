// The chat component of one chat window: the host's ITavi.
#pragma once

#include "module/Guids.h"
#include "module/ObjectImpl.h"

namespace tavi {

class CTaviPanel;

class CTaviImpl : public CObjectImpl<pfx::IObject> {
public:
    pfx::GUID GetClassId() const override { return kTaviImplId; }

private:
    CTaviPanel* m_pPanel = nullptr;
};

}  // namespace tavi
