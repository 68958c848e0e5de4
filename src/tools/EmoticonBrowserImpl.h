// The emoticon picker shared by every chat window of the process.
#pragma once

#include "module/Guids.h"
#include "module/ObjectImpl.h"
#include "sdk/tavi.h"

namespace tavi {

class CEmoticonBrowserImpl final : public CObjectImpl<IEmoticonBrowser> {
public:
    pfx::GUID GetClassId() const override { return kEmoticonBrowserId; }
    void Show(RECT, IEmoticonCallBack*, void*) override {}
    bool IsOnShow() override { return false; }
};

}  // namespace tavi
