#include "controls/ControlFactories.h"

#include "controls/NewsAnimeUI.h"
#include "controls/RichEditWithToolUI.h"
#include "controls/ScrollExLayout.h"

namespace tavi {

CControlUI* CreateRichEditWithToolUI() { return new CRichEditWithToolUI; }
CControlUI* CreateScrollExLayout() { return new CScrollExLayout(); }
CControlUI* CreateNewsAnimeUI() { return new CNewsAnimeUI(); }

}  // namespace tavi
