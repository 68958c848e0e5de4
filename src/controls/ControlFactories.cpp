#include "controls/ControlFactories.h"

#include "controls/NewsAnimeUI.h"
#include "controls/ScrollExLayout.h"

namespace tavi {

// A factory that builds nothing leaves the layout to the class named in
// its fallback attribute.
CControlUI* CreateRichEditWithToolUI() { return nullptr; }
CControlUI* CreateScrollExLayout() { return new CScrollExLayout(); }
CControlUI* CreateNewsAnimeUI() { return new CNewsAnimeUI(); }

}  // namespace tavi
