// The component as the host's window drives it: window messages, copy-data
// codes, hot keys, focus memory, notices and the exit question.
#include <algorithm>
#include <fstream>

#include "ChatWindowFixture.h"
#include "sim/host/DisplayInternal.h"
#include "msghandle/SendState.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/win32.h"
#include "sim/core/Text.h"

namespace {

int CountHostMsgs(uint32_t code) {
    int n = 0;
    for (const auto& e : sim::HostEvents()) n += e.kind == "msg" && e.code == int(code);
    return n;
}

std::string PngFile(const std::string& name = "facade.png") {
    const std::string path = testing::TempDir() + name;
    static const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                        0, 0, 0, 16, 0, 0, 0, 8, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png), sizeof(png));
    return path;
}

}  // namespace

TEST_F(ChatWindowTest, AltHotKeysActOnlyWhileAltIsDown) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    component->ProcHostWndMsg(tavi::kWmSysChar, 'h', 0);
    EXPECT_EQ(CountHostMsgs(7), 0);
    sim::SetKeyDown(VK_MENU, true);
    component->ProcHostWndMsg(tavi::kWmSysChar, 'H', 0);
    EXPECT_EQ(CountHostMsgs(7), 1);
    EXPECT_EQ(sim::HostEvents().back().a, 0);
    EXPECT_EQ(sim::HostEvents().back().b, 0);
    component->ProcHostWndMsg(tavi::kWmSysChar, 'c', 0);
    sim::RunUntilIdle();
    EXPECT_TRUE(sim::OpenChatWindows().empty());
    ASSERT_FALSE(sim::ChatWndMgrCalls().empty());
    EXPECT_EQ(sim::ChatWndMgrCalls().back(), "close");
}

TEST_F(ChatWindowTest, CopyDataForwardsOnlyTheHostRange) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    for (uint32_t code : {0x5DDAu, 0x5DDBu, 0x5FCCu, 0x5FCDu}) {
        tavi::SCopyData record{code, 0, nullptr};
        component->ProcHostWndMsg(tavi::kWmCopyData, 0, reinterpret_cast<intptr_t>(&record));
    }
    EXPECT_EQ(CountHostMsgs(0x5DDA), 0);
    EXPECT_EQ(CountHostMsgs(0x5DDB), 1);
    EXPECT_EQ(CountHostMsgs(0x5FCC), 1);
    EXPECT_EQ(CountHostMsgs(0x5FCD), 0);
    // A copy-data message without its record is ignored.
    EXPECT_EQ(component->ProcHostWndMsg(tavi::kWmCopyData, 0, 0), 0);
}

TEST_F(ChatWindowTest, CopyDataPictureGoesIntoTheInput) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    const std::u16string path = sim::ToWide(PngFile());
    tavi::SCopyData picture{tavi::kCopyDataPicture, uint32_t(path.size() * 2), path.c_str()};
    component->ProcHostWndMsg(tavi::kWmCopyData, 0, reinterpret_cast<intptr_t>(&picture));
    const std::u16string missing = u"/no/such/picture.png";
    tavi::SCopyData broken{tavi::kCopyDataEditPicture, 0, missing.c_str()};
    component->ProcHostWndMsg(tavi::kWmCopyData, 0, reinterpret_cast<intptr_t>(&broken));
    tavi::SCopyData edited{tavi::kCopyDataEditPicture, uint32_t(path.size() * 2), path.c_str()};
    component->ProcHostWndMsg(tavi::kWmCopyData, 0, reinterpret_cast<intptr_t>(&edited));
    const sim::EditContent input = sim::ReadEdit(component->GetInputRichEdit());
    ASSERT_EQ(input.objects.size(), 2u);
    for (const sim::EditObject& object : input.objects) {
        EXPECT_EQ(object.path, path);
        EXPECT_EQ(object.width, 16);
        EXPECT_EQ(object.imageType, 0);  // a picture, not a smiley: it is sent as a picture
    }
    // An edited picture takes the place of the one whose key comes along.
    static_cast<COleImageObj*>(component->GetInputRichEdit()->GetObjectAt(0))->SetKey(u"before-edit");
    const std::u16string editedPath = sim::ToWide(PngFile("edited.png"));
    const std::u16string key = u"before-edit";
    tavi::SCopyData replaced{tavi::kCopyDataEditPicture, uint32_t(editedPath.size() * 2), editedPath.c_str()};
    component->ProcHostWndMsg(tavi::kWmCopyData, reinterpret_cast<uintptr_t>(key.c_str()),
                              reinterpret_cast<intptr_t>(&replaced));
    const sim::EditContent after = sim::ReadEdit(component->GetInputRichEdit());
    ASSERT_EQ(after.objects.size(), 2u);
    EXPECT_EQ(after.objects[0].path, editedPath);
    EXPECT_EQ(after.objects[1].path, path);
}

TEST_F(ChatWindowTest, FocusIsRememberedAcrossDeactivation) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    CWindowUI* chat = sim::FindChatWindow(window);
    component->GetMsgHistoryRichEdit()->SetFocus();
    component->ProcHostWndMsg(tavi::kWmActivate, 0, 0);
    chat->SetFocus(nullptr);
    component->ProcHostWndMsg(tavi::kWmActivate, 1, 0);
    EXPECT_TRUE(component->GetMsgHistoryRichEdit()->IsFocused());
}

TEST_F(ChatWindowTest, RestoreWithoutStoreLeavesAnotherFocusAlone) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    CWindowUI* chat = sim::FindChatWindow(window);
    CControlUI* search = chat->FindControl(u"top_con.chat_tool_head_ctn");
    chat->SetFocus(search);
    component->RestoreFocus();
    EXPECT_EQ(chat->GetFocus(), search);
    // Deactivated while neither edit had the focus: nothing is remembered.
    component->ProcHostWndMsg(tavi::kWmActivate, 0, 0);
    component->ProcHostWndMsg(tavi::kWmActivate, 1, 0);
    EXPECT_EQ(chat->GetFocus(), search);
    chat->SetFocus(nullptr);
    component->RestoreFocus();
    EXPECT_TRUE(component->GetInputRichEdit()->IsFocused());
}

TEST_F(ChatWindowTest, SecondCreatePanelKeepsTheFirst) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    tavi::CTaviPanel* first = component->GetPanel();
    tavi::STaviPanelInfo info;
    info.windowKey = sim::ChatWindowKey(sim::ChatKind::Person);
    info.sessionId = u"bob";
    info.instanceName = u"qel_inst";
    EXPECT_FALSE(component->CreatePanel(nullptr, &info));
    EXPECT_EQ(component->GetPanel(), first);
    component->SetPanelMode(3);
    EXPECT_EQ(component->GetPanel(), first);
}

TEST_F(ChatWindowTest, ComponentWithoutPanelAnswersNothing) {
    pfx::IObject* object = nullptr;
    ASSERT_TRUE(m_module->CreateObject(&object, tavi::kTaviImplId));
    auto* component = static_cast<tavi::CTaviImpl*>(static_cast<tavi::ITavi*>(object));
    EXPECT_EQ(component->GetMsgHistoryRichEdit(), nullptr);
    EXPECT_EQ(component->GetInputRichEdit(), nullptr);
    EXPECT_EQ(component->QelSendMsg(u"x", nullptr, "text/plain", true), -1);
    EXPECT_FALSE(component->UpdatePanelInfo(nullptr));
    EXPECT_FALSE(component->ProcHostDuiMsg(nullptr));
    EXPECT_FALSE(component->CreatePanel(nullptr, nullptr));
    component->InsertInfoMsg(0, false, nullptr, false, 0, true, false);
    component->InsertSimpleInfoMsg(nullptr, false);
    component->SetView(nullptr);
    component->SendMsg();
    component->PasteClipboard();
    component->RestoreFocus();
    component->OnRecallMessage(nullptr);
    component->InputRichEditInsertImage(nullptr);
    // An unknown SDK instance name builds nothing either.
    tavi::STaviPanelInfo info;
    info.sessionId = u"bob";
    info.instanceName = u"nobody";
    EXPECT_FALSE(component->CreatePanel(nullptr, &info));
    EXPECT_EQ(component->GetPanel(), nullptr);
    object->Release();
}

TEST_F(ChatWindowTest, ErrorReportLinkCarriesTheDetailAndTheLastError) {
    sim::SetLanguage(sim::Language::Keys);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    const auto given = [&](const std::u16string& text) {
        component->InsertInfoMsg(0, false, text.c_str(), false, 0, false, false);
        return sim::NoticeSources().back();
    };
    // Only a client that asks for error reports (with 1) gets the link.
    EXPECT_EQ(given(u"&<txt>*1:8:1:a<txt>&"), u"&<txt>*1:8:1:a<txt>&");
    sim::SetExeConfig("ErrReport", "enable", "2");
    EXPECT_EQ(given(u"&<txt>*1:8:1:a<txt>&"), u"&<txt>*1:8:1:a<txt>&");
    sim::SetExeConfig("ErrReport", "enable", "1");
    const std::u16string link = u"&<link>*32|8|#REPORT_ERROR\n|";
    const std::u16string end = u"||<link>&";
    // The detail after two colons, up to its last bar.
    EXPECT_EQ(given(u"&<txt>*1:8:1:a:b|c<txt>&"), u"&<txt>*1:8:1:a:b|c<txt>&" + link + u"1:a:b" + end);
    EXPECT_EQ(given(u"x&<txt>*1:8:1:q<txt>&"), u"x&<txt>*1:8:1:q<txt>&" + link + u"1:q" + end);
    // Texts without a detail of kind 1 get no link.
    for (const std::u16string plain :
         {u"&<txt>*<txt>&", u"&<txt>*1:2:3", u"no format", u"&<txt>*x<txt>&1", u"&<txt>*2:8:a:b|c<txt>&"})
        EXPECT_EQ(given(plain), plain);
    sim::SetLastError(5, "boom");
    EXPECT_EQ(given(u"&<txt>*1:8:1:a<txt>&"), u"&<txt>*1:8:1:a<txt>&" + link + u"1:aERRCODE_5ERRMSG_boom" + end);
}

TEST_F(ChatWindowTest, ExitQuestionOnlyWhileSending) {
    sim::SetLanguage(sim::Language::Keys);
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    tavi::OnSendFinished();  // a finish without a start leaves nothing sending
    EXPECT_TRUE(component->CanExitWhileSending());
    EXPECT_TRUE(sim::ShownBoxes().empty());
    tavi::OnSendStarted();
    sim::QueueBoxAnswer(0x32);
    EXPECT_FALSE(component->CanExitWhileSending());
    sim::QueueBoxAnswer(0x33);
    EXPECT_TRUE(component->CanExitWhileSending());
    ASSERT_EQ(sim::ShownBoxes().size(), 2u);
    const sim::ShownBox& box = sim::ShownBoxes()[0];
    EXPECT_EQ(box.text, u"IDS_EXIT_APP_WHEN_MSG_SENDING_TIP");
    EXPECT_EQ(box.caption, u"#SEND_MESSAGE");
    EXPECT_EQ(box.buttons, u"#NO_YES");
    EXPECT_EQ(box.type, 1);
    EXPECT_EQ(std::make_pair(box.width, box.height), std::make_pair(340, 150));
    tavi::OnSendFinished();
}

TEST_F(ChatWindowTest, InputHeightWithinBoundsOnly) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    CControlUI* input = Panel(window)->FindSubControl(u"input");
    int32_t l, t, r, b, anchor;
    input->GetCoordinate(l, t, r, b, anchor);
    for (int rejected : {60, 500}) {
        component->SetInputEditHeight(rejected);
        int32_t l2, t2, r2, b2, a2;
        input->GetCoordinate(l2, t2, r2, b2, a2);
        EXPECT_EQ(t2, t);
    }
    for (int accepted : {61, 499}) {
        component->SetInputEditHeight(accepted);
        input->GetCoordinate(l, t, r, b, anchor);
        EXPECT_EQ(t, accepted);
        EXPECT_EQ(anchor, 6);
    }
    // The history above and the splitter between follow.
    const auto coordinates = [&](const char16_t* name) {
        Panel(window)->FindSubControl(name)->GetCoordinate(l, t, r, b, anchor);
        return std::vector<int32_t>{l, t, r, b, anchor};
    };
    EXPECT_EQ(coordinates(u"history"), (std::vector<int32_t>{0, 0, 0, 499, 8}));
    EXPECT_EQ(coordinates(u"splitter"), (std::vector<int32_t>{0, 499, 0, 497, 6}));
}

TEST_F(ChatWindowTest, PasteRequestTimerRestartAndEditStateRefreshReachTheirControls) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    CRichEditUI* input = component->GetInputRichEdit();
    sim::SetClipboard(u"pasted");
    const int repaints = input->GetInvalidateCount();
    component->ProcHostWndMsg(tavi::kWmPasteRequest, 0, 0);
    EXPECT_EQ(input->GetText(), u"pasted\n");
    EXPECT_TRUE(input->IsFocused());
    EXPECT_GT(input->GetInvalidateCount(), repaints);

    component->RestartHistoryTimer();
    EXPECT_TRUE(component->GetMsgHistoryRichEdit()->HasTimer(tavi::kHistoryRefreshTimer));

    // A refreshed edit state tells the host the picture bar is closed.
    const auto pictureBarEvents = [&](intptr_t shown) {
        int n = 0;
        for (const auto& e : sim::HostEvents()) n += e.kind == "event" && e.code == 0 && e.a == shown;
        return n;
    };
    const int closed = pictureBarEvents(0);
    const int opened = pictureBarEvents(1);
    Component(window)->RefreshEditState();
    EXPECT_EQ(pictureBarEvents(0), closed + 1);
    EXPECT_EQ(pictureBarEvents(1), opened);
}

TEST_F(ChatWindowTest, AdhocLinesTheHostWritesShowInTheHistory) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviImpl* component = Component(window);
    auto lastItem = [&] { return sim::ViewItems(component->GetMsgHistoryRichEdit()).back(); };
    component->InsertADHOCMsg(u"carol", u"joined", u"the chat", false);
    EXPECT_EQ(lastItem().kind, "notice");
    EXPECT_EQ(lastItem().text.rfind(u"carol joined the chat", 0), 0u);
    component->InsertADHOCFileMsg(u"carol", u"sent", u"a.txt", u"12 KB", false);
    EXPECT_EQ(lastItem().text.rfind(u"carol sent a.txt 12 KB", 0), 0u);
}

TEST_F(ChatWindowTest, AnnouncedMessagesAskTheWindowOfAHiddenPanelToShowAndLoadThem) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto showRequests = [&] {
        std::vector<std::pair<intptr_t, intptr_t>> params;
        for (const auto& e : sim::HostEvents())
            if (e.window == window && e.kind == "wndmsg" && e.code == 0x5229) params.emplace_back(e.a, e.b);
        return params;
    };
    sim::StoredMsg msg;
    msg.sender = "bob";
    msg.read = false;
    msg.content = "while hidden";
    sim::AddStoredMsg(sim::OpenConversation("bob"), msg);

    Component(window)->GetAndShowMsg(0, 0);
    EXPECT_TRUE(showRequests().empty());
    Panel(window)->SetVisible(false);
    ShowAnnounced(window);
    EXPECT_EQ(showRequests(), (std::vector<std::pair<intptr_t, intptr_t>>{{0, 0}}));
    const auto items = sim::ViewItems(Component(window)->GetMsgHistoryRichEdit());
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const sim::ViewItem& item) {
        return item.kind == "msg" && item.text.find(u"while hidden") != std::u16string::npos;
    }));
}
