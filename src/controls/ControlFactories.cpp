#include "controls/ControlFactories.h"

#include "controls/ScrollExLayout.h"

namespace tavi {

// Controls whose features are not built yet make nothing; layouts then
// fall back to the class they name.
CControlUI* CreateRichEditWithToolUI() { return nullptr; }
CControlUI* CreateScrollExLayout() { return new CScrollExLayout(); }
CControlUI* CreateNewsAnimeUI() { return nullptr; }

}  // namespace tavi
