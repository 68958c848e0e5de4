// An attached panel as the host sees it: building it leaves the plug-in's
// references as they were, and showing it again brings it to the front
// only when the host asks for that.
#include "component/ChatWindowFixture.h"

#include "module/ConvWndPlugin.h"
#include "module/Guids.h"
#include "module/PanelCreator.h"
#include "sdk/pfx_plugin.h"
#include "sim/driver.h"

namespace {

int g_tag = 0;

class PluginShowTest : public ChatWindowTest {};

TEST_F(PluginShowTest, ShowingAPanelBringsItForwardOnlyWhenAskedTo) {
    std::unique_ptr<CWindowUI> host = sim::CreateHostWindow();
    auto* container = new CContainerUI;
    container->SetName(tavi::kChatToolHeadCtn);
    host->GetRoot()->Add(container);
    pfx::IObject* object = nullptr;
    ASSERT_TRUE(m_module->CreateObject(&object, tavi::kConvWndPluginId));
    auto* plugin = dynamic_cast<compls::IChatPlugin*>(object);
    ASSERT_NE(plugin, nullptr);
    const pfx::GUID windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    plugin->Init(u"qel_inst", 0, pfx::GUID{}, &windowKey);
    plugin->Attach(sim::GetObjSink(), &g_tag, u"bob");
    // The panel looks its plug-in up while it is built, and gives it back.
    const int32_t references = plugin->AddRef();
    plugin->Release();
    ASSERT_TRUE(plugin->CreateCtrlEx(tavi::kChatToolHeadCtn, host->GetHWND(), nullptr, 0, 0, nullptr));
    CControlUI* panel = nullptr;
    plugin->GetCtrl(&panel, tavi::kChatToolHeadCtn);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(plugin->AddRef(), references);
    plugin->Release();

    panel->SetVisible(false);
    EXPECT_TRUE(plugin->ShowCtrl(tavi::kChatToolHeadCtn, 4, false));
    EXPECT_FALSE(panel->IsVisible());
    EXPECT_TRUE(plugin->ShowCtrl(tavi::kChatToolHeadCtn, 9, true));
    EXPECT_TRUE(panel->IsVisible());

    plugin->DestroyCtrl(tavi::kChatToolHeadCtn);
    sim::RunUntilIdle();
    plugin->Release();
}

}  // namespace
