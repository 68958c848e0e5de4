// The interfaces the module offers to the host and to other modules.
#pragma once

#include <string>

#include "sdk/pfx.h"
#include "sdk/win32.h"

class CRichEditUI;

namespace tavi {

// Reports the text emoticon the user chose.
struct IEmoticonCallBack {
    virtual ~IEmoticonCallBack() = default;
    virtual void OnSelEmoticon(const char16_t* name, const char16_t* description) = 0;
};

// The shared emoticon picker.
struct IEmoticonBrowser : pfx::IObject {
    virtual void Show(RECT anchor, IEmoticonCallBack* callback, void* faceCallback) = 0;
    virtual bool IsOnShow() = 0;
};

// Turns a rich edit's content into plain text, emoji back in text form.
struct IQelMsgHandle : pfx::IObject {
    virtual void PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) = 0;
};

}  // namespace tavi
