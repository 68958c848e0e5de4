#include "module/ShakePlugin.h"

#include "module/ConvWndPlugin.h"
#include "module/PanelCreator.h"

namespace tavi {

const SPanelSetting CShakeMsgWidgetPlugin::kPanelTable[] = {
    {true, &CreatePluginPanel<CShakeMsgWidgetPanel>, kChatToolHeadCtn, u"IDD_SHAKE_MSG_PANEL", u"", u""},
    {false, nullptr, nullptr, nullptr, nullptr, nullptr},
};

}  // namespace tavi
