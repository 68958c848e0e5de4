// The module object as the host sees it: creation, the class registry, the
// plug-in records, object messages and the per-process state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "module/DllObject.h"
#include "module/Guids.h"
#include "module/ModuleDll.h"
#include "sdk/qel_inst.h"
#include "sdk/tavi.h"
#include "sdk/ui/RichEditUI.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

namespace {

// An object that counts its own releases, to see what the module gives back.
class CountedObject : public pfx::IObject {
public:
    pfx::GUID GetClassId() const override { return {}; }
    int32_t Release() override { return --count; }
    bool QueryObject(const pfx::GUID&, void**, int32_t) override { return false; }
    int32_t AddRef() override { return ++count; }
    int32_t DecRef() override { return --count; }
    int32_t count = 1;
};

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        module = CreateDllObj(u"tavi");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        module->Uninit();
        EXPECT_EQ(module->Release(), 0);
    }
    pfx::IDllObj* module = nullptr;
};

int g_preLogoutCalls = 0;
void CountPreLogout() { ++g_preLogoutCalls; }

}  // namespace

TEST_F(ModuleTest, SecondCreateReturnsSameObjectWithOneMoreReferenceAndDecRefNeverDestroys) {
    pfx::IDllObj* again = CreateDllObj(u"other");
    EXPECT_EQ(again, module);
    EXPECT_EQ(again->AddRef(), 3);
    EXPECT_EQ(again->Release(), 2);
    EXPECT_EQ(again->Release(), 1);
    EXPECT_EQ(module->GetClassId(), tavi::kModuleId);
    EXPECT_EQ(module->AddRef(), 2);
    EXPECT_EQ(module->DecRef(), 1);
    EXPECT_EQ(tavi::GetModuleObject(), module);
    // The name is the file's, without folder or extension.
    EXPECT_EQ(std::u16string(module->GetModuleName()), u"tavi_tests");
}

TEST_F(ModuleTest, ClassesAreAnnouncedInBytewiseIdentifierOrderAndPluginsInRegistrationOrder) {
    module->EnumClasses(nullptr);
    module->EnumClasses(sim::GetClassRegistrar());
    const auto& classes = sim::AnnouncedClasses();
    ASSERT_EQ(classes.size(), 5u);
    for (const auto& c : classes) EXPECT_EQ(c.module, tavi::kModuleId);
    EXPECT_TRUE(std::is_sorted(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        return std::memcmp(&a.cls, &b.cls, sizeof(pfx::GUID)) < 0;
    }));
    // Bytewise over the stored identifier, not by its printed form: the
    // first group is stored little-endian, so {8B2E4776-...} starts with 0x76.
    EXPECT_EQ(classes.front().cls, tavi::kQelMsgHandleImplId);
    EXPECT_EQ(classes.back().cls, tavi::kEmoticonBrowserId);

    // Plug-ins in the order they were registered.
    module->EnumPlugins(nullptr);
    module->EnumPlugins(sim::GetPluginManager());
    const auto& plugins = sim::AnnouncedPlugins();
    ASSERT_EQ(plugins.size(), 2u);
    EXPECT_EQ(plugins[0].plugin, tavi::kConvWndPluginId);
    EXPECT_EQ(plugins[1].plugin, tavi::kShakePluginId);
    EXPECT_EQ(plugins[0].category, tavi::kChatPluginCategory);
    EXPECT_EQ(plugins[1].module, tavi::kModuleId);
}

TEST_F(ModuleTest, CreateObjectByClassIdentifierOrAnswerFalse) {
    pfx::IObject* impl = nullptr;
    ASSERT_TRUE(module->CreateObject(&impl, tavi::kTaviImplId));
    ASSERT_NE(impl, nullptr);
    EXPECT_EQ(impl->GetClassId(), tavi::kTaviImplId);
    EXPECT_FALSE(impl->QueryObject(tavi::kTaviImplId, nullptr, 0));
    EXPECT_EQ(impl->Release(), 0);

    for (const pfx::GUID& id : {tavi::kQelMsgHandleImplId, tavi::kConvWndPluginId, tavi::kShakePluginId}) {
        pfx::IObject* object = nullptr;
        ASSERT_TRUE(module->CreateObject(&object, id));
        EXPECT_EQ(object->GetClassId(), id);
        object->Release();
    }
    // An unknown identifier or no out pointer: false, the out pointer untouched.
    pfx::IObject* untouched = reinterpret_cast<pfx::IObject*>(0x1234);
    EXPECT_FALSE(module->CreateObject(&untouched, pfx::MakeGuid("{00000000-0000-0000-0000-000000000001}")));
    EXPECT_EQ(untouched, reinterpret_cast<pfx::IObject*>(0x1234));
    EXPECT_FALSE(module->CreateObject(nullptr, tavi::kTaviImplId));

    // The emoticon browser is shared, with one more reference each time.
    pfx::IObject* first = nullptr;
    pfx::IObject* second = nullptr;
    ASSERT_TRUE(module->CreateObject(&first, tavi::kEmoticonBrowserId));
    ASSERT_TRUE(module->CreateObject(&second, tavi::kEmoticonBrowserId));
    EXPECT_EQ(first, second);
    // The registry's own reference, then one per caller.
    EXPECT_EQ(first->AddRef(), 4);
    first->Release();
    first->Release();
    second->Release();
}

TEST_F(ModuleTest, OnlyThePreLogoutMessageIsRegisteredAndHandled) {
    module->RegisterMsgs(sim::GetObjMsgRegistrar());
    ASSERT_EQ(sim::AnnouncedMsgs().size(), 1u);
    EXPECT_EQ(sim::AnnouncedMsgs()[0].msgId, tavi::kMsgPreLogout);
    EXPECT_EQ(sim::AnnouncedMsgs()[0].tag, 0u);

    module->Init(sim::GetHost());
    tavi::SetPreLogoutCallback(&CountPreLogout);
    g_preLogoutCalls = 0;

    CountedObject a, b;
    pfx::IObject* refs[2] = {&a, &b};
    module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, refs);
    EXPECT_EQ(g_preLogoutCalls, 1);
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(b.count, 0);

    CountedObject c;
    pfx::IObject* oneRef[2] = {&c, nullptr};
    module->OnObjMsg(0x1234, 0, 0, oneRef);
    EXPECT_EQ(g_preLogoutCalls, 1);
    EXPECT_EQ(c.count, 0);
    module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, nullptr);
    EXPECT_EQ(g_preLogoutCalls, 2);
}

TEST_F(ModuleTest, InitAnswersFalseAndStartsTheProcessState) {
    EXPECT_FALSE(module->Init(nullptr));
    EXPECT_EQ(tavi::GetDllObject(), nullptr);
    EXPECT_TRUE(tavi::IsTextPlainSupportSmiley());

    EXPECT_FALSE(module->Init(sim::GetHost()));
    tavi::CDllObject* state = tavi::GetDllObject();
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->m_bStarted);
    EXPECT_NE(state->m_pEmoticonBrowser, nullptr);
    EXPECT_EQ(tavi::GetModuleHost(), sim::GetHost());

    const auto classes = sim::RegisteredControlClasses();
    for (const char* name : {"RichEditWithTool", "ScrollExLayout", "NewAnime"})
        EXPECT_NE(std::find(classes.begin(), classes.end(), name), classes.end()) << name;
    ASSERT_EQ(sim::ResourceFolders().size(), 1u);
    // Windows names the same folder with its drive in front ("Z:").
    const std::string folder = sim::ResourceFolders()[0];
    const std::string expected = std::string(TAVI_BIN_DIR) + "/skin/";
    ASSERT_GE(folder.size(), expected.size());
    EXPECT_LE(folder.size() - expected.size(), 2u) << folder;
    EXPECT_EQ(folder.substr(folder.size() - expected.size()), expected);
    EXPECT_NE(std::find(sim::ScopeTraces().begin(), sim::ScopeTraces().end(), "OnCreatePlugin"), sim::ScopeTraces().end());

    module->Uninit();
    EXPECT_EQ(tavi::GetDllObject(), nullptr);
    EXPECT_TRUE(tavi::IsTextPlainSupportSmiley());
}

TEST_F(ModuleTest, PlainTextSmileyFlagFollowsTheClientConfiguration) {
    sim::SetExeConfig("MsgSendOption", "text_plain_support_smiley", "0");
    module->Init(sim::GetHost());
    EXPECT_FALSE(tavi::IsTextPlainSupportSmiley());
    module->Uninit();
    sim::SetExeConfig("MsgSendOption", "text_plain_support_smiley", "7");
    module->Init(sim::GetHost());
    EXPECT_TRUE(tavi::IsTextPlainSupportSmiley());
}

TEST_F(ModuleTest, MarqueeSetRemembersFinishedNames) {
    module->Init(sim::GetHost());
    tavi::CDllObject* state = tavi::GetDllObject();
    EXPECT_FALSE(state->IsMarqueeFinish(u"news"));
    state->AddMarqueeFinish(u"news");
    EXPECT_TRUE(state->IsMarqueeFinish(u"news"));
}

TEST_F(ModuleTest, QelInstLookupNeedsTheHostAndAnSdkInstance) {
    EXPECT_EQ(tavi::GetQelInst(u"main"), nullptr);  // no host before Init
    module->Init(sim::GetHost());
    EXPECT_EQ(tavi::GetQelInst(u"main"), nullptr);  // unknown name
    EXPECT_EQ(tavi::GetQelInst(nullptr), nullptr);
    CountedObject notAnInstance;
    sim::RegisterNamedObject(u"main", &notAnInstance);
    EXPECT_EQ(tavi::GetQelInst(u"main"), nullptr);
    EXPECT_EQ(notAnInstance.count, 1);  // the lookup's reference went back
    qel::IQelInst* out = nullptr;
    EXPECT_FALSE(tavi::GetQelInst(u"main", &out));
    EXPECT_EQ(out, nullptr);
}

// The real module as the host loads it: one export, its own name.
TEST(LoadableModule, ExportsCreateDllObjAndKnowsItsName) {
    sim::ResetAll();
    std::string error;
    void* lib = sim::os::OpenModule(u"" TAVI_BIN_DIR "/" TAVI_MODULE_FILE, &error);
    ASSERT_NE(lib, nullptr) << error;
    auto create = reinterpret_cast<pfx::IDllObj* (*)(const char16_t*)>(sim::os::FindSymbol(lib, "CreateDllObj"));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(sim::os::FindSymbol(lib, "_ZN4tavi15GetModuleObjectEv"), nullptr);
    pfx::IDllObj* loaded = create(u"tavi");
    ASSERT_NE(loaded, nullptr);
    const std::u16string file = u"" TAVI_MODULE_FILE;
    EXPECT_EQ(std::u16string(loaded->GetModuleName()), file.substr(0, file.rfind(u'.')));
    EXPECT_NE(loaded, CreateDllObj(u"tavi"));  // each file has its own module object
    tavi::GetModuleObject()->Release();
    EXPECT_EQ(loaded->Release(), 0);
    sim::os::CloseModule(lib);
}

TEST_F(ModuleTest, MessageHandleObjectWritesEmojiOfAnEditBackAsText) {
    pfx::IObject* object = nullptr;
    ASSERT_TRUE(module->CreateObject(&object, tavi::kQelMsgHandleImplId));
    auto* handle = dynamic_cast<tavi::IQelMsgHandle*>(object);
    ASSERT_NE(handle, nullptr);
    CRichEditUI edit;
    for (const char16_t* text : {u"a", u"b"}) {
        auto* emoji = new COleImageObj();
        emoji->SetImageType(2);
        emoji->SetKey(u"1f600");
        edit.InsertObject(emoji);
        edit.InsertText(text);
    }
    std::u16string text = u"stale";
    handle->PreProcessMsg(text, nullptr);
    EXPECT_EQ(text, u"stale");
    handle->PreProcessMsg(text, &edit);
    EXPECT_EQ(text, u"\U0001F600a\U0001F600b");
    object->Release();
}
