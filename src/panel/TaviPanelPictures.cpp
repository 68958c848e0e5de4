// Pictures put into the panel's input.
#include "panel/TaviPanel.h"
#include "sdk/ui/RichEditUI.h"

namespace tavi {

bool CTaviPanel::OnDropFiles(TEventUI&) { return false; }

void CTaviPanel::InsertImage(COleImageObj* image) {
    if (!image) return;
    image->SetImageType(0);
    if (!m_pInputEdit || !m_pInputEdit->InsertObject(image)) delete image;
}

void CTaviPanel::InsertEditImage(COleImageObj* image, uintptr_t) { InsertImage(image); }

void CTaviPanel::SaveAsSmiley(const char16_t*) {}

}  // namespace tavi

namespace tavi {

// The picture library's hover and press are bound with the other tool bar
// buttons; what they do comes with the picture library.
bool CTaviPanel::OnSysPicBtnEvent(TEventUI&) { return true; }

}  // namespace tavi
