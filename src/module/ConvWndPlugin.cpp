#include "module/ConvWndPlugin.h"

#include "module/ModuleDll.h"
#include "module/PanelCreator.h"
#include "sdk/pfx_wndmgr.h"
#include "util/Log.h"

namespace tavi {

const SPanelSetting CTaviConvWndPlugin::kPanelTable[] = {
    {true, &CreatePluginPanel<CTaviConvWndPanel>, kChatToolHeadCtn, u"IDD_TAVI_CONV_WND_PANEL", u"", u""},
    {false, nullptr, nullptr, nullptr, nullptr, nullptr},
};

void CTaviConvWndPlugin::RegisterMsgs(pfx::IObjMsgRegistrar* target) {
    if (target) target->AddMsg(reinterpret_cast<uintptr_t>(GetTag()), kConvWndPluginId, kMsgGetTavi);
}

void CTaviConvWndPlugin::OnObjMsg(uint32_t msgId, intptr_t param1, intptr_t param2, pfx::IObject** refs) {
    // The component of the window is the only thing asked of this plug-in.
    if (msgId == kMsgGetTavi) OnGetTavi(param1, param2);
    CChatPlugin::OnObjMsg(msgId, param1, param2, refs);
}

void CTaviConvWndPlugin::OnGetTavi(intptr_t, intptr_t param2) {
    CControlUI* control = nullptr;
    GetCtrl(&control, kChatToolHeadCtn);
    auto* panel = dynamic_cast<CTaviConvWndPanel*>(control);
    if (panel && param2) *reinterpret_cast<ITavi**>(param2) = panel->GetTavi();
}

CTaviConvWndPanel::CTaviConvWndPanel() {
    pfx::IHost* host = GetModuleHost();
    pfx::IObject* created = nullptr;
    if (host && host->CreateObject(&created, kTaviImplId) && created) {
        m_pTavi = dynamic_cast<ITavi*>(created);
        if (!m_pTavi) created->Release();
    }
    if (!m_pTavi) util::LogLine(2, __FILE__, __LINE__, "CChatWindowUI Create TAVI Failed!");
}

CTaviConvWndPanel::~CTaviConvWndPanel() {
    if (m_pTavi) m_pTavi->Release();
}

void CTaviConvWndPanel::OnCreate() {
    pfx::IHost* host = GetModuleHost();
    pfx::IObject* object = nullptr;
    CTaviConvWndPlugin* plugin = nullptr;
    // A failed query leaves the object null.
    if (host) host->QueryObject(GetId().c_str(), &object);
    if (object) {
        plugin = dynamic_cast<CTaviConvWndPlugin*>(object);
        object->Release();
    }
    if (plugin && m_pTavi) {
        STaviPanelInfo info;
        info.windowKey = plugin->GetWindowKey();
        info.sessionId = plugin->GetSessionName();
        info.instanceName = plugin->GetInstanceName();
        info.historyShown = true;
        m_pTavi->CreatePanel(this, &info);
    }
    if (m_pTavi) m_pTavi->SetView(GetAttribute(u"show_mode").c_str());
}

}  // namespace tavi
