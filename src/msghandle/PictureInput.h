// Putting picture files into a rich edit.
#pragma once

class CRichEditUI;

namespace tavi {

// Loads the picture and inserts it as a picture file (type 0), without the
// size check; false when it does not load.
bool RichEditLoadImage(const char16_t* path, CRichEditUI* edit);

}  // namespace tavi
