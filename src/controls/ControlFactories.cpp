#include "controls/ControlFactories.h"

#include "controls/NewsAnimeUI.h"

namespace tavi {

// A factory that builds nothing leaves the layout to the class named in
// its fallback attribute.
CControlUI* CreateRichEditWithToolUI() { return nullptr; }
CControlUI* CreateScrollExLayout() { return nullptr; }
CControlUI* CreateNewsAnimeUI() { return new CNewsAnimeUI(); }

}  // namespace tavi
