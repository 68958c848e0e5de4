// Putting picture files into a rich edit.
#pragma once

#include <functional>
#include <string>

#include "sdk/win32.h"

class CRichEditUI;

namespace tavi {

// Loads the picture and inserts it as a picture file (type 0), without the
// size check; false when it does not load.
bool RichEditLoadImage(const char16_t* path, CRichEditUI* edit);

// Inserts a picture file after the size check: a file too large to send
// is refused with a box, one that would go better as a file is offered as
// such while `oversizeOption` is 0, and handed to `sendAsFile` when the
// user agrees. True when the picture went in.
bool InsertPictureFile(const char16_t* path, CRichEditUI* edit, HWND owner, int oversizeOption,
                       const std::function<void(const std::u16string&)>& sendAsFile);

}  // namespace tavi
