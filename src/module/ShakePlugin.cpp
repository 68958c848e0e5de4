#include "module/ShakePlugin.h"

#include "module/ConvWndPlugin.h"
#include "module/PanelCreator.h"

namespace tavi {

const SPanelSetting CShakeMsgWidgetPlugin::kPanelTable[] = {
    {1, &CreatePluginPanel<CShakeMsgWidgetPanel>, kChatToolHeadCtn, u"IDD_SHAKE_MSG_PANEL", u"", u""},
    {0, nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace tavi
