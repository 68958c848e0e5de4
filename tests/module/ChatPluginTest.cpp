// The chat plug-ins as the host drives them: identity, the instance id,
// the control factory questions and the attach path into a host window.
#include "component/ChatWindowFixture.h"

#include "component/TaviImpl.h"
#include "module/ConvWndPlugin.h"
#include "module/Guids.h"
#include "module/PanelCreator.h"
#include "module/ShakePlugin.h"
#include "module/StdMap.h"
#include "sdk/pfx_plugin.h"
#include "sim/driver.h"

namespace {

// The world of the chat windows, with plug-ins made by hand as the host would.
class ChatPluginTest : public ChatWindowTest {
protected:
    void TearDown() override {
        for (compls::IChatPlugin* plugin : m_plugins) plugin->Release();
        m_window.reset();
        ChatWindowTest::TearDown();
    }

    compls::IChatPlugin* Make(const pfx::GUID& id) {
        pfx::IObject* object = nullptr;
        EXPECT_TRUE(m_module->CreateObject(&object, id));
        auto* plugin = dynamic_cast<compls::IChatPlugin*>(object);
        m_plugins.push_back(plugin);
        return plugin;
    }

    // A host window with the tool-bar container the panels go into.
    HWND HostWindow() {
        m_window = sim::CreateHostWindow();
        auto* container = new CContainerUI;
        container->SetName(tavi::kChatToolHeadCtn);
        m_window->GetRoot()->Add(container);
        return m_window->GetHWND();
    }

    std::vector<compls::IChatPlugin*> m_plugins;
    std::unique_ptr<CWindowUI> m_window;
};

int g_tag = 0;

}  // namespace

TEST_F(ChatPluginTest, InstanceIdIsMadeOnceRegisteredOnceAndTriedAgainAfterAFailure) {
    compls::IChatPlugin* plugin = Make(tavi::kConvWndPluginId);
    EXPECT_EQ(std::u16string(plugin->GetSessionName()), u"");
    plugin->Attach(nullptr, &g_tag, u"ignored");
    EXPECT_EQ(std::u16string(plugin->GetSessionName()), u"");
    plugin->Attach(sim::GetObjSink(), &g_tag, u"bob");
    EXPECT_EQ(std::u16string(plugin->GetSessionName()), u"bob");
    EXPECT_EQ(plugin->GetTag(), &g_tag);

    const std::u16string id = plugin->GetInstanceId();
    EXPECT_EQ(id.size(), 38u);
    EXPECT_EQ(id[0], u'{');
    EXPECT_EQ(std::u16string(plugin->GetInstanceId()), id);
    EXPECT_EQ(sim::FindNamedObject(id), static_cast<pfx::IObject*>(plugin));

    // An identifier the system failed to make is tried again later.
    compls::IChatPlugin* shake = Make(tavi::kShakePluginId);
    shake->Attach(sim::GetObjSink(), &g_tag, u"bob");
    sim::FailNextGuids(1);
    EXPECT_EQ(shake->GetInstanceId(), nullptr);
    ASSERT_NE(shake->GetInstanceId(), nullptr);
}

TEST_F(ChatPluginTest, InitKeepsWhatTheHostGave) {
    compls::IChatPlugin* plugin = Make(tavi::kConvWndPluginId);
    const pfx::GUID key = pfx::MakeGuid("{00000001-0002-0003-0405-060708090A0B}");
    const pfx::GUID windowKey = sim::ChatWindowKey(sim::ChatKind::Group);
    plugin->Init(u"qel_inst", 7, key, &windowKey);
    EXPECT_EQ(plugin->GetKey(), key);
    EXPECT_EQ(plugin->GetKind(), 7);
    EXPECT_EQ(std::u16string(plugin->GetInstanceName()), u"qel_inst");
    EXPECT_EQ(plugin->GetWindowKey(), windowKey);
    EXPECT_FALSE(plugin->Reserved1(nullptr));
    EXPECT_EQ(plugin->Reserved3(nullptr), -1);
}

TEST_F(ChatPluginTest, RegistryQuestionsUseTheTableNameForAnEmptyName) {
    compls::IChatPlugin* plugin = Make(tavi::kShakePluginId);
    EXPECT_TRUE(plugin->IsCtrlProvided(u"top_con.chat_tool_head_ctn"));
    EXPECT_FALSE(plugin->IsCtrlProvided(u"top_con.other"));
    EXPECT_FALSE(plugin->IsCtrlProvided(nullptr));
    EXPECT_EQ(std::u16string(plugin->GetAttr(u"owner")), u"");
    plugin->SetAttr(u"", u"value");
    EXPECT_EQ(std::u16string(plugin->GetAttr(u"top_con.chat_tool_head_ctn")), u"value");
    plugin->SetCurName(u"");
    EXPECT_EQ(std::u16string(plugin->GetCurName()), u"top_con.chat_tool_head_ctn");
    plugin->SetCurName(u"other");
    EXPECT_EQ(std::u16string(plugin->GetCurName()), u"other");
    CControlUI control;
    plugin->AddCtrl(u"", &control, 5, nullptr);
    CControlUI* found = nullptr;
    intptr_t value = 0;
    EXPECT_TRUE(plugin->FindCtrl(u"top_con.chat_tool_head_ctn", &found, &value, nullptr));
    EXPECT_EQ(found, &control);
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(plugin->HasCtrl(&control));
    plugin->AddCtrl(u"", nullptr, 0, nullptr);
    EXPECT_FALSE(plugin->FindCtrl(u"", &found, &value, nullptr));
}

TEST_F(ChatPluginTest, AttachBuildsThePanelWithItsComponentOnce) {
    HWND window = HostWindow();
    compls::IChatPlugin* plugin = Make(tavi::kConvWndPluginId);
    const pfx::GUID windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    plugin->Init(u"qel_inst", 0, pfx::GUID{}, &windowKey);
    plugin->Attach(sim::GetObjSink(), &g_tag, u"bob");
    EXPECT_FALSE(plugin->CreateCtrl(tavi::kChatToolHeadCtn));  // no window known yet
    sim::FailNextGuids(1);  // nor an instance id to stand under
    EXPECT_FALSE(plugin->CreateCtrlEx(tavi::kChatToolHeadCtn, window, nullptr, 0, 0, nullptr));
    // The panel's owner, named by the host, is only borrowed.
    compls::IChatPlugin* owner = Make(tavi::kShakePluginId);
    sim::RegisterNamedObject(u"owner", owner);
    plugin->SetAttr(tavi::kChatToolHeadCtn, u"owner");
    pfx::CStr2StrMap attributes;
    attributes.Insert(u"show_mode", u"only_edit", false);
    ASSERT_TRUE(plugin->CreateCtrlEx(tavi::kChatToolHeadCtn, window, nullptr, 0, 0, &attributes));
    EXPECT_EQ(owner->AddRef(), 2);
    owner->Release();
    sim::UnregisterNamedObject(u"owner");
    CControlUI* panel = nullptr;
    plugin->GetCtrl(&panel, tavi::kChatToolHeadCtn);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetId(), std::u16string(plugin->GetInstanceId()));

    tavi::ITavi* component = nullptr;
    plugin->OnObjMsg(tavi::kMsgGetTavi, 0, reinterpret_cast<intptr_t>(&component), nullptr);
    ASSERT_NE(component, nullptr);
    ASSERT_NE(static_cast<tavi::CTaviImpl*>(component)->GetPanel(), nullptr);
    EXPECT_EQ(static_cast<tavi::CTaviImpl*>(component)->GetPanel()->GetViewMode(), u"only_edit");
    plugin->OnObjMsg(tavi::kMsgGetTavi, 0, 0, nullptr);  // no out pointer: nothing happens

    // A second attach finds the panel and builds nothing new.
    EXPECT_TRUE(plugin->CreateCtrl(tavi::kChatToolHeadCtn));
    CControlUI* again = nullptr;
    plugin->GetCtrl(&again, tavi::kChatToolHeadCtn);
    EXPECT_EQ(again, panel);
    EXPECT_TRUE(plugin->ShowCtrl(tavi::kChatToolHeadCtn, 9, true));
    EXPECT_EQ(sim::WndMgrCalls().back().op, "refresh");

    plugin->DestroyCtrl(tavi::kChatToolHeadCtn);
    sim::RunUntilIdle();
    CControlUI* gone = nullptr;
    plugin->GetCtrl(&gone, tavi::kChatToolHeadCtn);
    EXPECT_EQ(gone, nullptr);
}

TEST_F(ChatPluginTest, PanelWhoseComponentCannotBeMadeSaysSoAtTraceLevel) {
    sim::SetLogLevel(2);
    sim::RemoveModule(m_module);
    auto* panel = new tavi::CTaviConvWndPanel();
    sim::AddModule(m_module);
    EXPECT_EQ(panel->GetTavi(), nullptr);
    CControlUI::Destroy(panel);
    ASSERT_FALSE(sim::LogLines().empty());
    EXPECT_EQ(sim::LogLines().back().level, 2);
    EXPECT_EQ(sim::LogLines().back().text.rfind("CChatWindowUI Create TAVI Failed!", 0), 0u);
}

TEST_F(ChatPluginTest, PanelWhoseIdTheHostDoesNotKnowBuildsNoChatPanel) {
    HWND window = HostWindow();
    auto* panel = new tavi::CTaviConvWndPanel();
    panel->SetId(u"{unknown}");
    ASSERT_TRUE(panel->Create(u"IDD_TAVI_CONV_WND_PANEL", m_window->GetRoot()));
    ASSERT_NE(panel->GetTavi(), nullptr);
    EXPECT_EQ(static_cast<tavi::CTaviImpl*>(panel->GetTavi())->GetPanel(), nullptr);
    (void)window;
}

TEST_F(ChatPluginTest, MessagesAreRegisteredWithTheTag) {
    compls::IChatPlugin* plugin = Make(tavi::kConvWndPluginId);
    plugin->Attach(sim::GetObjSink(), &g_tag, u"bob");
    plugin->RegisterMsgs(sim::GetObjMsgRegistrar());
    ASSERT_EQ(sim::AnnouncedMsgs().size(), 1u);
    EXPECT_EQ(sim::AnnouncedMsgs()[0].msgId, tavi::kMsgGetTavi);
    EXPECT_EQ(sim::AnnouncedMsgs()[0].tag, reinterpret_cast<uintptr_t>(&g_tag));
    compls::IChatPlugin* shake = Make(tavi::kShakePluginId);
    shake->RegisterMsgs(sim::GetObjMsgRegistrar());
    EXPECT_EQ(sim::AnnouncedMsgs().size(), 1u);

    // Whoever handles a message, the two references that came with it are
    // the receiver's to release.
    compls::IChatPlugin* first = Make(tavi::kShakePluginId);
    compls::IChatPlugin* second = Make(tavi::kShakePluginId);
    for (compls::IChatPlugin* receiver : {plugin, shake}) {
        for (uint32_t msgId : {tavi::kMsgGetTavi, 0x99u}) {
            first->AddRef();
            second->AddRef();
            pfx::IObject* refs[2] = {first, second};
            receiver->OnObjMsg(msgId, 0, 0, refs);
            EXPECT_EQ(first->AddRef(), 2);
            EXPECT_EQ(second->AddRef(), 2);
            first->Release();
            second->Release();
        }
    }
}

TEST_F(ChatPluginTest, InstanceIdAskedBeforeAttachIsRegisteredByAttach) {
    HWND window = HostWindow();
    compls::IChatPlugin* plugin = Make(tavi::kConvWndPluginId);
    const pfx::GUID windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    plugin->Init(u"qel_inst", 0, pfx::GUID{}, &windowKey);
    const std::u16string id = plugin->GetInstanceId();
    EXPECT_EQ(sim::FindNamedObject(id), nullptr);
    plugin->Attach(sim::GetObjSink(), &g_tag, u"bob");
    EXPECT_EQ(sim::FindNamedObject(id), static_cast<pfx::IObject*>(plugin));
    EXPECT_EQ(std::u16string(plugin->GetInstanceId()), id);
    // An owner that nobody registered is no owner: the panel is built all the same.
    plugin->SetAttr(tavi::kChatToolHeadCtn, u"nobody");

    // The chat panel finds its plug-in through the id, so the chat is built
    // where the host asked for it.
    ASSERT_TRUE(plugin->CreateCtrlEx(tavi::kChatToolHeadCtn, window, nullptr, 5, 7, nullptr));
    CControlUI* panel = nullptr;
    plugin->GetCtrl(&panel, tavi::kChatToolHeadCtn);
    ASSERT_NE(panel, nullptr);
    tavi::ITavi* component = nullptr;
    plugin->OnObjMsg(tavi::kMsgGetTavi, 0, reinterpret_cast<intptr_t>(&component), nullptr);
    ASSERT_NE(component, nullptr);
    EXPECT_NE(static_cast<tavi::CTaviImpl*>(component)->GetPanel(), nullptr);
    int32_t left, top, right, bottom, anchor;
    panel->GetCoordinate(left, top, right, bottom, anchor);
    EXPECT_EQ(left, 5);
    EXPECT_EQ(top, 7);
    EXPECT_EQ(anchor, UIANCHOR_TOPLEFT);
}

TEST_F(ChatPluginTest, CreatorReplacesTheChildOfItsNameWithoutDestroyingIt) {
    HostWindow();
    CContainerUI* parent = m_window->GetRoot();
    auto* before = new CControlUI;
    auto* old = new CControlUI;
    old->SetName(u"slot");
    parent->Add(before);
    parent->Add(old);
    parent->Add(new CControlUI);
    const size_t count = parent->GetItems().size();
    ASSERT_TRUE(tavi::CreatePluginPanel<tavi::CShakeMsgWidgetPanel>(parent, u"IDD_SHAKE_MSG_PANEL", u"slot", nullptr,
                                                                   0, 0, true));
    EXPECT_EQ(parent->GetItems().size(), count);
    CControlUI* panel = parent->GetItemAt(parent->GetItemIndex(before) + 1);
    EXPECT_NE(dynamic_cast<tavi::CShakeMsgWidgetPanel*>(panel), nullptr);
    EXPECT_EQ(parent->GetItemIndex(old), -1);
    EXPECT_EQ(old->GetParent(), nullptr);
    delete old;  // taken out, still ours

    // Without replace a second panel of the name goes beside the first.
    ASSERT_TRUE(tavi::CreatePluginPanel<tavi::CShakeMsgWidgetPanel>(parent, u"IDD_SHAKE_MSG_PANEL", u"slot", nullptr,
                                                                   0, 0, false));
    EXPECT_EQ(parent->GetItems().size(), count + 1);
}
