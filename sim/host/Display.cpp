// The client common library's display side: records made from messages,
// and the renderer that writes records and notices into message views.
#include <tinyxml.h>

#include <map>

#include "sdk/display.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/host/BodyReader.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {

struct DisplayState {
    // Notices without a message id of their own get one from here.
    int64_t nextNoticeId = -900001;
    std::vector<FailMark> failMarks;
    // Every notice text as the component wrote it, links and all.
    std::vector<std::u16string> noticeSources;
};

DisplayState& State() {
    static DisplayState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = DisplayState{}; });

std::u16string Between(const std::u16string& text, const std::u16string& open, const std::u16string& close,
                       size_t& from) {
    const size_t start = text.find(open, from);
    if (start == std::u16string::npos) return std::u16string();
    const size_t end = text.find(close, start + open.size());
    if (end == std::u16string::npos) return std::u16string();
    from = end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

// "*%d:%u:%s" carries two numbers before the text.
std::u16string AfterFormatNumbers(const std::u16string& text) {
    if (text.empty() || text[0] != u'*') return text;
    const size_t first = text.find(u':');
    const size_t second = first == std::u16string::npos ? first : text.find(u':', first + 1);
    return second == std::u16string::npos ? text : text.substr(second + 1);
}

// pos: where the notice goes (-1: the end).
void InsertNotice(CRichEditExUI* view, int64_t id, const std::u16string& text, long pos = -1) {
    if (!view) return;
    CREidtInsertHelper helper(view);
    helper.BeginInsert(id, pos >= 0 && pos <= view->GetTextLength() ? pos : -1, EMsgKind::Notice);
    helper.InsertText(text + u"\r");
    helper.EndInsert();
}

}  // namespace

std::u16string NoticeText(const std::u16string& text) {
    size_t from = 0;
    std::u16string body = Between(text, u"&<txt>", u"<txt>&", from);
    if (body.empty() && text.find(u"&<txt>") == std::u16string::npos) return text;
    std::u16string result = AfterFormatNumbers(body);
    size_t linkFrom = 0;
    const std::u16string link = Between(text, u"&<link>", u"<link>&", linkFrom);
    if (!link.empty()) result += u" [link]";
    return result;
}

std::u16string ContentText(const std::string& contentType, const std::string& content) {
    if (contentType == "text/plain") return ToWide(content);
    if (contentType == "img/xml") return u"[img]";
    if (contentType != "rich/xml") return ToWide("[" + contentType + "]");
    TiXmlDocument doc;
    // What cannot be read within the limits shows as one placeholder.
    if (!ReadBodyWithinLimits(doc, content)) return u"[?]";
    const TiXmlElement* root = doc.RootElement();
    std::u16string text;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string name = e->Value();
        if (name == "span") text += ToWide(e->GetText() ? e->GetText() : "");
        else if (name == "img" || name == "localimg") text += u"[img]";
    }
    return text;
}

int64_t NextNoticeId() { return State().nextNoticeId--; }

const std::vector<FailMark>& FailMarks() { return State().failMarks; }
const std::vector<std::u16string>& NoticeSources() { return State().noticeSources; }

bool IsMarkedFailed(const CRichEditExUI* view, int64_t shownId) {
    if (!view || !view->HasMsg(shownId)) return false;
    auto* edit = const_cast<CRichEditExUI*>(view);
    for (const FailMark& mark : State().failMarks) {
        CControlUI* holder = mark.shownId == shownId ? edit->FindSubControl(mark.msgIdText) : nullptr;
        if (holder && holder->FindSubControl(u"resendmsg")) return true;
    }
    return false;
}


}  // namespace sim

bool CreateQelBoxMsg(SQelBoxMsg& record, const _QelMsgData* data, qel_handle message, qel_handle conversation,
                     bool history, const char16_t* convId) {
    if (!data) return false;
    record = SQelBoxMsg{};
    record.message = message;
    record.sdkMsgId = message ? qel_msg_get_id(message) : 0;
    record.msgId = int64_t(record.sdkMsgId);
    record.convMsgId = message ? qel_msg_get_conv_msg_id(message) : data->conv_msg_id;
    record.time = data->time;
    record.convId = convId ? convId : u"";
    if (record.convId.empty() && conversation) record.convId = sim::ToWide(qel_conversation_get_id(conversation));
    record.senderId = sim::ToWide(data->sender_id ? data->sender_id : "");
    record.contentType = data->content_type ? data->content_type : "";
    record.content = data->content ? data->content : "";
    record.summary = data->summary ? data->summary : "";
    record.extraInfo = data->extra_info ? data->extra_info : "";
    record.history = history;
    record.received = message && (qel_msg_get_flag(message) & QEL_MSG_FLAG_SENT) == 0;
    return true;
}

void ShowNotifyMsgInRE(int64_t, bool, const char16_t* text, CRichEditExUI* view, bool, const char16_t*, bool,
                       uint64_t msgId, int pos, bool) {
    if (!view || !text) return;
    sim::State().noticeSources.emplace_back(text);
    sim::InsertNotice(view, msgId ? int64_t(msgId) : sim::NextNoticeId(), sim::NoticeText(text), pos);
}

void ShowADHOCMsgInRE(const char16_t* a, const char16_t* b, const char16_t* c, CRichEditExUI* view, bool) {
    if (!view) return;
    std::u16string text;
    for (const char16_t* part : {a, b, c}) {
        if (part && *part) text += (text.empty() ? u"" : u" ") + std::u16string(part);
    }
    sim::InsertNotice(view, sim::NextNoticeId(), text);
}

void ShowADHOCFileMsgInRE(const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d,
                          CRichEditExUI* view, bool flag) {
    const std::u16string last = std::u16string(c ? c : u"") + (d && *d ? u" " + std::u16string(d) : u"");
    ShowADHOCMsgInRE(a, b, last.c_str(), view, flag);
}

void InsertSimpleErrorMsg(CRichEditExUI* view, const char16_t* text) {
    if (view && text) sim::InsertNotice(view, sim::NextNoticeId(), sim::NoticeText(text));
}

void ShowSendMsgFailInRE(CRichEditExUI* view, int64_t shownId, const char16_t* msgIdText, const char16_t* notice) {
    if (!view) return;
    const std::u16string idText = msgIdText ? msgIdText : u"";
    sim::State().failMarks.push_back({shownId, idText, notice ? notice : u""});
    // The failed bubble gets the reason under it, as a line that stands
    // under the failed message's stored id, with the resend button: the
    // child "resendmsg" of a control named with that id.
    const int64_t storedId = int64_t(qel_ext::Str2MsgId(sim::ToUtf8(idText)));
    const int64_t lineId = storedId != 0 && !view->HasMsg(storedId) ? storedId : sim::NextNoticeId();
    auto* mark = new CContainerUI();
    mark->SetName(idText);
    auto* button = new CButtonUI();
    button->SetName(u"resendmsg");
    button->SetId(u"resendmsg");
    button->SetText(sim::LocalisedText(u"#RESEND_MSG"));
    mark->Add(button);
    CREidtInsertHelper helper(view);
    helper.BeginInsert(lineId, -1, EMsgKind::Notice);
    helper.InsertText(u"! " + sim::NoticeText(notice ? notice : u""));
    if (!helper.InsertControl(mark, 0, 16, 16)) delete mark;
    helper.InsertText(u"\r");
    helper.EndInsert();
}

std::u16string IMMsgTransTime(int64_t time, bool withDate) {
    const int64_t secondsOfDay = ((time % 86400) + 86400) % 86400;
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%02d:%02d:%02d", int(secondsOfDay / 3600), int(secondsOfDay / 60 % 60),
                  int(secondsOfDay % 60));
    std::string text = buffer;
    if (withDate) text = "day " + std::to_string(time / 86400) + " " + text;
    return sim::ToWide(text);
}
