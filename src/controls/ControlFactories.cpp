#include "controls/ControlFactories.h"

#include "controls/RichEditWithToolUI.h"

namespace tavi {

CControlUI* CreateRichEditWithToolUI() { return new CRichEditWithToolUI; }
// Built with their own features; until then layouts fall back to plain classes.
CControlUI* CreateScrollExLayout() { return nullptr; }
CControlUI* CreateNewsAnimeUI() { return nullptr; }

}  // namespace tavi
