// The emoticon picker shared by every chat window of the process: the
// module's registry hands out this one object, which owns the one picker
// window, made on the first Show and kept for the browser's life.
#pragma once

#include "module/Guids.h"
#include "module/ObjectImpl.h"
#include "sdk/tavi.h"

namespace tavi {

class CEmoticonWnd;

class CEmoticonBrowserImpl final : public CObjectImpl<IEmoticonBrowser> {
public:
    ~CEmoticonBrowserImpl() override;
    pfx::GUID GetClassId() const override { return kEmoticonBrowserId; }
    void Show(RECT anchor, IEmoticonCallBack* callback, void* faceCallback) override;
    bool IsOnShow() override;
    // The picker window, null before the first Show.
    CEmoticonWnd* GetWindow() const { return m_pWnd; }

private:
    CEmoticonWnd* m_pWnd = nullptr;
};

}  // namespace tavi
