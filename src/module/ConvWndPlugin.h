// The conversation-window plug-in and its panel: the bridge through which
// an ordinary conversation window gets its chat component.
#pragma once

#include "module/ChatPlugin.h"
#include "module/Guids.h"
#include "sdk/tavi.h"
#include "sdk/ui/CompositeUI.h"

namespace tavi {

class CTaviConvWndPlugin : public CChatPlugin {
public:
    pfx::GUID GetClassId() const override { return kConvWndPluginId; }
    void RegisterMsgs(pfx::IObjMsgRegistrar* target) override;
    void OnObjMsg(uint32_t msgId, intptr_t param1, intptr_t param2, pfx::IObject** refs) override;

    static const SPanelSetting kPanelTable[];

protected:
    const SPanelSetting* PanelTable() const override { return kPanelTable; }

private:
    // Message 0x22: hands out the component of this plug-in's panel.
    void OnGetTavi(intptr_t param1, intptr_t param2);
};

// Creates the chat component and lets it build the chat panel inside itself.
class CTaviConvWndPanel : public CCompositeUI {
public:
    CTaviConvWndPanel();
    ~CTaviConvWndPanel() override;
    void OnCreate() override;
    ITavi* GetTavi() const { return m_pTavi; }

private:
    ITavi* m_pTavi = nullptr;
};

inline constexpr uint32_t kMsgGetTavi = 0x22;
inline constexpr char16_t kChatToolHeadCtn[] = u"top_con.chat_tool_head_ctn";

}  // namespace tavi
