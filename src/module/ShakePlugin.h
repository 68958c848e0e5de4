// The shake plug-in: puts the shake button panel into conversation windows.
#pragma once

#include "module/ChatPlugin.h"
#include "module/Guids.h"
#include "tools/ShakeMsgWidgetPanel.h"

namespace tavi {

class CShakeMsgWidgetPlugin : public CChatPlugin {
public:
    pfx::GUID GetClassId() const override { return kShakePluginId; }
    static const SPanelSetting kPanelTable[];

protected:
    const SPanelSetting* PanelTable() const override { return kPanelTable; }
};

}  // namespace tavi
