#include "msghandle/PictureInput.h"

#include "sdk/ui/RichEditUI.h"

namespace tavi {

bool RichEditLoadImage(const char16_t* path, CRichEditUI* edit) {
    if (!path || !edit) return false;
    COleImageObj* image = COleImageObj::LoadImageW(path, true);
    if (!image) return false;
    image->SetImageType(0);
    if (edit->InsertObject(image)) return true;
    delete image;
    return false;
}

}  // namespace tavi
