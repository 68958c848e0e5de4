// Factories of the custom controls the module registers with the UI engine.
#pragma once

class CControlUI;

namespace tavi {

CControlUI* CreateRichEditWithToolUI();
CControlUI* CreateScrollExLayout();
CControlUI* CreateNewsAnimeUI();

}  // namespace tavi
