// The object other modules create to turn a rich edit's content into text.
#pragma once

#include "module/Guids.h"
#include "module/ObjectImpl.h"
#include "sdk/tavi.h"

namespace tavi {

class CQelMsgHandleImpl final : public CObjectImpl<IQelMsgHandle> {
public:
    pfx::GUID GetClassId() const override { return kQelMsgHandleImplId; }
    void PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) override;
};

}  // namespace tavi
