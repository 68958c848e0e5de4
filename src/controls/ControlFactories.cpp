#include "controls/ControlFactories.h"

namespace tavi {

// The custom controls come with the UI framework's control tree; until a
// layout names them they build nothing.
CControlUI* CreateRichEditWithToolUI() { return nullptr; }
CControlUI* CreateScrollExLayout() { return nullptr; }
CControlUI* CreateNewsAnimeUI() { return nullptr; }

}  // namespace tavi
