// The client's application object.
#include <tinyxml.h>

#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/BodyReader.h"
#include "sim/host/DisplayInternal.h"
#include "sim/host/HostServices.h"
#include "sim/host/PicturesInternal.h"
#include "sim/sdk/ChatWnd.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {

struct AppState {
    qel::IQelInst* current = nullptr;
    std::vector<AppTip> tips;
    std::vector<UnreadCounter> counters;
    std::vector<std::u16string> reloads;
    std::vector<std::string> calls;
    bool haveRenderer = true;
    bool userInfoService = true;
    std::map<std::string, std::u16string> extraTexts;
    std::map<int, std::u16string> hostTexts;
};

AppState& State() {
    static AppState state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = AppState{}; });

// Puts a draft's content back into an input edit: text and pictures.
void RenderIntoInput(const SQelBoxMsg& record, CRichEditUI* edit) {
    if (record.contentType == "text/plain") {
        edit->InsertText(ToWide(record.content));
        return;
    }
    // A body the readers refuse (damaged, too large or nested too deep) is
    // still what the user had: it comes back as its text.
    TiXmlDocument doc;
    if (!ReadBodyWithinLimits(doc, record.content)) {
        edit->InsertText(ToWide(record.content));
        return;
    }
    const TiXmlElement* root = doc.RootElement();
    auto insertPicture = [edit](const TiXmlElement* e) {
        const char* src = e->Attribute("src");
        COleImageObj* image = src ? edit->InsertImage(ToWide(src)) : nullptr;
        if (image) image->SetImageType(0);
        else edit->InsertText(u"[img]");
    };
    if (record.contentType == "img/xml") {
        insertPicture(root);
        return;
    }
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string name = e->Value();
        if (name == "span") edit->InsertText(ToWide(e->GetText() ? e->GetText() : ""));
        else if (name == "img" || name == "localimg") insertPicture(e);
    }
}

class Renderer final : public IMsgRenderer {
public:
    bool RenderMsg(SQelBoxMsg& record, CRichEditUI* edit, IMsgSender*, const char16_t*, int a, int b) override {
        if (!edit) return false;
        // A draft (id -2), or a record put at the end of an input (from -2
        // to -1), goes in as editable content.
        if (record.msgId == -2 || (a == -2 && b == -1)) {
            RenderIntoInput(record, edit);
            return true;
        }
        auto* view = dynamic_cast<CRichEditExUI*>(edit);
        if (!view) return false;
        // A message the user is sending carries no sender yet: it is the user's own.
        std::u16string sender = record.senderName.empty() ? record.senderId : record.senderName;
        if (sender.empty()) sender = ToWide(qel_account_get_buddy_id(CurrentAccount()));
        // A view that showed its end keeps showing it as messages come in
        // below; one scrolled up stays where the user left it.
        const bool followEnd = !record.history && view->IsAtEnd();
        CREidtInsertHelper helper(view);
        helper.BeginInsert(record.msgId, record.history ? view->GetTopInsertPos() : -1, EMsgKind::Msg);
        helper.InsertText(sender + u": ");
        InsertContent(helper, record.contentType, record.content);
        helper.InsertText(u"\r");
        const bool done = helper.EndInsert();
        if (followEnd) view->EndDown();
        return done;
    }
};

class Sender final : public IMsgSender {};

class UserInfoService final : public IUserInfoService {
public:
    std::u16string GetExtraText(const char16_t* userId) override {
        auto it = State().extraTexts.find(ToUtf8(userId));
        return it == State().extraTexts.end() ? std::u16string() : it->second;
    }
};

class TextMaker final : public IMsgTextMaker {
public:
    std::u16string GetMsgText(const SQelBoxMsg& record) override {
        return ContentText(record.contentType, record.content);
    }
};

class AppMain final : public IAppMain {
public:
    qel::IQelInst* GetCurQelInst() override { return State().current; }
    IChatWndObj* GetChatWndObj(const pfx::GUID& windowKey) override { return sdk::FindChatWndObj(windowKey); }
    IChatWndType* GetChatWndType(const pfx::GUID& windowKey) override { return sdk::FindChatWndType(windowKey); }
    HWND GetMainWnd() override { return reinterpret_cast<HWND>(uintptr_t(0x10000)); }
    std::u16string GetPictureFolder() override { return u"/tmp/tavi-pictures/"; }
    void ShowTip(const char16_t* text, const char16_t* title) override {
        State().tips.push_back({text ? text : u"", title ? title : u""});
    }
    IMsgRenderer* GetMsgRenderer(const SQelBoxMsg*, const char16_t*) override {
        static Renderer renderer;
        return State().haveRenderer ? &renderer : nullptr;
    }
    IMsgSender* GetMsgSender(const char16_t*, const char16_t*) override {
        static Sender sender;
        return &sender;
    }
    IMsgTextMaker* GetMsgTextMaker(const char16_t*) override {
        static TextMaker maker;
        return &maker;
    }
    void RegisterUnreadCounter(CControlUI* counter, const char16_t* convId, const char16_t* owner, int maximum,
                               const char16_t* format, const char16_t* overFormat,
                               std::function<bool()> mayShow) override {
        State().counters.push_back({counter, convId ? convId : u"", owner ? owner : u"", maximum,
                                    format ? format : u"", overFormat ? overFormat : u"", std::move(mayShow)});
    }
    void UnregisterUnreadCounter(CControlUI* counter) override {
        auto& counters = State().counters;
        for (auto it = counters.begin(); it != counters.end();) {
            it = it->counter == counter ? counters.erase(it) : it + 1;
        }
    }
    void OnConversationReloaded(HWND, const char16_t* handleId, qel_handle) override {
        State().reloads.emplace_back(handleId ? handleId : u"");
    }
    void OpenMsgManager(int code, const char* sessionId, const char* extra, int cateType) override {
        State().calls.push_back("msgmgr:" + std::to_string(code) + ":" + (sessionId ? sessionId : "") + ":" +
                                (extra ? extra : "") + ":" + std::to_string(cateType));
    }
    void OpenFastReplySetting(const char16_t* handleId, int a, int b) override {
        State().calls.push_back("fastreply:" + ToUtf8(handleId ? handleId : u"") + ":" + std::to_string(a) + ":" +
                                std::to_string(b));
    }
    IUserInfoService* GetUserInfoService() override {
        static UserInfoService service;
        return State().userInfoService ? &service : nullptr;
    }
    bool GetMsgDisplay(const SQelBoxMsg& record, const char16_t*, SMsgDisplay& out) override {
        out.senderText = ContentText(record.contentType, record.content);
        out.plainText = out.senderText;
        return true;
    }
    void ShowTipByName(const char16_t* name, HWND) override {
        State().calls.push_back("tip:" + ToUtf8(name ? name : u""));
    }
    void OpenReceiptDetails(uint64_t msgId, const char16_t* convId, const char16_t* groupId) override {
        State().calls.push_back("receipt-details:" + std::to_string(msgId) + ":" + ToUtf8(groupId ? groupId : u"") +
                                ":conv=" + ToUtf8(convId ? convId : u""));
    }
    void ShowGrpTopNotice(qel_handle message, HWND) override {
        State().calls.push_back("grptop-notice:" + std::to_string(qel_msg_get_id(message)));
    }
    void ShowMsgOutsideView(qel_handle message, HWND) override {
        State().calls.push_back("show-msg:" + std::to_string(qel_msg_get_id(message)));
    }

    // ---- usage reports ----
    void ReportUsageEvent(const char* event, const char* action, HMODULE) override {
        RecordUsageReport(event, action);
    }
    std::u16string GetHostText(int number) override {
        auto it = State().hostTexts.find(number);
        return it == State().hostTexts.end() ? u"" : it->second;
    }
    void HandleLink(const CLinkObj* link) override {
        if (link) State().calls.push_back("link " + std::to_string(link->GetType()) + " " + ToUtf8(link->GetValue()));
    }
    void OpenCollectTagEditor(HWND, const char* sourceKey) override {
        State().calls.push_back(std::string("collect-tag ") + (sourceKey ? sourceKey : ""));
    }
    void OpenPersonChat(const char16_t* userId, const char16_t* inputText) override {
        std::string call = "open-chat " + ToUtf8(userId ? userId : u"");
        if (inputText) call += " " + ToUtf8(inputText);
        State().calls.push_back(call);
    }
};
}  // namespace

void SetCurrentQelInst(qel::IQelInst* inst) { State().current = inst; }
const std::vector<AppTip>& AppTips() { return State().tips; }
const std::vector<UnreadCounter>& UnreadCounters() { return State().counters; }
const std::vector<std::u16string>& ConversationReloads() { return State().reloads; }
const std::vector<std::string>& AppCalls() { return State().calls; }
void SetHostHasRenderer(bool have) { State().haveRenderer = have; }
void SetUserInfoService(bool offered) { State().userInfoService = offered; }
void SetUserExtraText(const std::string& userId, const std::u16string& text) { State().extraTexts[userId] = text; }
void SetHostText(int number, const std::u16string& text) { State().hostTexts[number] = text; }
void RecordAppCall(const std::string& call) { State().calls.push_back(call); }

}  // namespace sim

IAppMain* GetAppMain() {
    static sim::AppMain app;
    return &app;
}
