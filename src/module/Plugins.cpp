#include "module/Plugins.h"

#include "module/ConvWndPlugin.h"
#include "module/ModuleDll.h"
#include "module/ShakePlugin.h"

namespace tavi {

bool CreateConvWndPlugin(pfx::IObject** out) { return CreateObjectOf<ComplusObject<CTaviConvWndPlugin>>(out); }
bool CreateShakePlugin(pfx::IObject** out) { return CreateObjectOf<ComplusObject<CShakeMsgWidgetPlugin>>(out); }

}  // namespace tavi
