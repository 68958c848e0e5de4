// The two kinds of chat window that do not send through the conversation:
// e-mail windows send e-mails through the client's e-mail service and show
// the e-mails exchanged with the peer; ad-hoc windows hand their messages
// to the host's ad-hoc sender.
#include <algorithm>
#include <memory>

#include "module/ModuleDll.h"
#include "msghandle/EmailSendParts.h"
#include "msghandle/EmojiMsgHandle.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgOpsSupport.h"
#include "msghandle/MsgIds.h"
#include "panel/HostService.h"
#include "panel/TaviPanel.h"
#include "sdk/adhoc.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/qel_bus.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/MessageBoxUI.h"
#include "sdk/ui/OleObject.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Localised.h"
#include "util/Log.h"
#include "util/LogRefusal.h"
#include "util/Strings.h"
#include "util/TextFormat.h"

namespace tavi {

namespace {

// The e-mail dialog either composes (layout 1) or answers within a conversation.
constexpr int kConversationLayout = 2;
constexpr char kContentRichXml[] = "rich/xml";
constexpr char kEmailKind[] = "IM";
constexpr char16_t kHeaderEnd[] = u"\r\n\r\n";

IEmailService* EmailService(qel_handle account) {
    return QelBusService(account);
}

IEmailService* CurrentEmailService() { return EmailService(qel_ext::QelGetCurAccount()); }

void ShowTipBox(HWND owner, const std::u16string& text) { ShowOpBox(owner, text, u"#TIP", u"#OK"); }

std::u16string SendEmailFailedText(int errorCode) {
    return util::FillPlaceholders(util::Localised(u"SEND_EMAIL_FAILED_MSG"),
                                  {common::GetSDKErrorInfo(errorCode)});
}

// Built-in smileys (type 1) and pictures without file or key (type 2)
// cannot travel in an e-mail.
bool HasBuiltInSmiley(CRichEditUI* input) {
    CStdPtrArray objects;
    input->GetImageObj(objects);
    for (int i = 0; i < objects.GetSize(); ++i) {
        const auto* image = static_cast<const COleImageObj*>(objects.GetAt(i));
        const int type = image ? image->GetImageType() : 0;
        if (type == 1 || type == 2) return true;
    }
    return false;
}

std::u16string Trim(const std::u16string& text) {
    const size_t first = text.find_first_not_of(u" \t\r\n");
    if (first == std::u16string::npos) return std::u16string();
    return text.substr(first, text.find_last_not_of(u" \t\r\n") - first + 1);
}

// The value of a header field ("Content-Type:"), trimmed; "" when absent.
std::u16string HeaderField(const std::u16string& header, const std::u16string& field) {
    size_t at = 0;
    while (at < header.size()) {
        size_t end = header.find(u'\n', at);
        if (end == std::u16string::npos) end = header.size();
        const std::u16string line = header.substr(at, end - at);
        if (line.size() >= field.size() && util::EqualsNoCase(line.substr(0, field.size()), field))
            return Trim(line.substr(field.size()));
        at = end + 1;
    }
    return std::u16string();
}

// Unique in the process: a window opened later may get the handle of a
// closed one, and must not take that window's answers for its own parts.
uintptr_t NextEmailPartToken() {
    static uintptr_t next = 0;
    return ++next;
}

void OnEmailSent(int result, HWND window, void* token) {
    CMsgHandle::OnSendEmailResult(result, window, reinterpret_cast<uintptr_t>(token));
}

// The fetch hands its completion how many e-mails it asked for.
void* RequestedCount(int64_t count) { return reinterpret_cast<void*>(intptr_t(count)); }

void OnEmailsFetched(int result, const SEmailItem* const* items, int count, int flag, HWND window,
                     void* requested) {
    if (result != 0) {
        const char* error = qel_get_last_error_msg();
        TAVI_LOG("email_get_messages_p2p_callback_t result =%d msg=%s", result, error ? error : "");
        return;
    }
    // The window may have closed while the service looked.
    if (CMsgHandle* handler = CMsgHandle::FindHandlerOfWindow(window))
        handler->InsertEmailMsgs(items, count, flag, int64_t(reinterpret_cast<intptr_t>(requested)));
}

void OnEmailsSeen(int result, void* userData) {
    auto* peer = static_cast<std::u16string*>(userData);
    const std::u16string peerId = *peer;
    delete peer;
    if (result != 0) {
        TAVI_LOG("email set seen error=%d", result);
        return;
    }
    qel_handle buddy = qel_account_bound_buddy(qel_ext::QelGetCurAccount());
    if (!buddy) return;
    const std::string key = "im_email_read:" + util::WideToUtf8(peerId);
    qel_attribs_set_int64(buddy, key.c_str(), qel_get_adjusted_time(), 3);
}

}  // namespace

void CMsgHandle::OnSendEmail(bool plainMode, CRichEditExUI* history, CRichEditUI* input) {
    TAVI_SCOPE("CMsgHandle::OnSendEmail");
    TAVI_LOG("PackEmailMsg2Send start ...");
    if (!input) return;
    if (HasBuiltInSmiley(input)) return ShowSendNotice(u"#SEND_EMAIL_DEFAULT_SMILEYS_ERROR");
    std::vector<SSendItem> items;
    SEmailLayout layout;
    if (!PackEmailMsg2Send(items, plainMode, history, input, layout)) return;

    const int dlgType = m_pOwner ? m_pOwner->GetEmailDlgType() : 0;
    std::u16string subject;
    std::u16string receiver;
    if (dlgType == kConversationLayout) {
        subject = m_pOwner->GetEmailSubject();
    } else {
        CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
        CControlUI* subjectEdit = window ? window->FindControl(u"subject_edit") : nullptr;
        CControlUI* receiverEdit = window ? window->FindControl(u"reciever_edit") : nullptr;
        CControlUI* title = window ? window->FindControl(u"title") : nullptr;
        if (subjectEdit && receiverEdit) {
            subject = subjectEdit->GetText();
            receiver = receiverEdit->GetText();
        } else if (title) {
            subject = title->GetText();
        }
    }
    IEmailService* service = EmailService(m_account.get());
    if (!service) {
        TAVI_LOG("OnSendEmail: no e-mail service");
        return;
    }
    // In the conversation layout the service addresses the window's peer.
    if (subject.empty() || (receiver.empty() && dlgType != kConversationLayout)) {
        ShowTipBox(GetWindowHandle(), util::Localised(u"#SEND_EMAIL_CONTENT_RECIVER_EMPTY"));
        return;
    }
    const HWND window = GetWindowHandle();
    const std::string receiverText = util::WideToUtf8(receiver);
    const std::string subjectText = util::WideToUtf8(subject);
    std::shared_ptr<CEmailSendParts> parts;
    if (!layout.windowEnds.empty())
        parts = std::make_shared<CEmailSendParts>(input->GetText(), layout.windowEnds, layout.itemWindows);
    for (size_t n = 0; n < items.size(); ++n) {
        const uintptr_t token = parts ? NextEmailPartToken() : 0;
        if (parts) m_emailParts[token] = SEmailPartRef{parts, layout.itemWindows[n]};
        const std::u16string body = util::Utf8ToWide(items[n].m_strContent);
        const int result = service->SendEmail(receiverText.c_str(), subjectText.c_str(),
                                              util::WideToUtf8(body).c_str(), kEmailKind, window, &OnEmailSent,
                                              reinterpret_cast<void*>(token));
        if (result == 0) continue;
        // What comes after a refusal never goes: it stays in the input.
        for (size_t rest = n + 1; parts && rest < items.size(); ++rest) parts->Failed(layout.itemWindows[rest]);
        // A refusal is answered the way a failed completion would be.
        return OnSendEmailResult(result, window, token);
    }
}

bool CMsgHandle::PackEmailMsg2Send(std::vector<SSendItem>& items, bool plainMode, CRichEditExUI*,
                                   CRichEditUI* input, SEmailLayout& layout) {
    items.clear();
    layout = SEmailLayout{};
    if (!input) return false;
    CStdPtrArray objects;
    input->GetImageObj(objects);
    std::vector<int32_t> positions;
    std::u16string text = CEmojiMsgHandle::RestoreEmojiText(input->GetText(), objects, positions);
    std::u16string head;
    if (GetMsgHead(head)) {
        text = head + text;
        for (int32_t& position : positions) position += int32_t(head.size());
    }
    std::u16string style;
    GetInputStyle(style);
    const int windows = int((text.size() + kWindowSize - 1) / kWindowSize);
    // Where each window ends in `text`: the walk decides which window a
    // picture on a cut goes with, and the window that took it ends after it.
    std::vector<size_t> ends;
    int pictureIndex = 0;
    for (int window = 0; window < windows; ++window) {
        TAVI_LOG("PackMsg2Send ParseRichEditMsg ...");
        MsgNodeList nodes;
        std::vector<SUploadItem> uploads;
        ParseRichEditMsg(nodes, uploads, text, window, 0, positions, input, pictureIndex);
        // The last window may hold nothing but a picture that went with the one before.
        if (nodes.empty() && !ends.empty() && ends.back() == text.size()) break;
        if (nodes.empty()) {
            // Only a picture whose file is gone leaves a window empty.
            input->Clear();
            ShowSendNotice(u"#IDS_IMAGE_DEL_CAN_NOT_SEND");
            items.clear();
            return false;
        }
        if (!PackMsg2Str(items, nodes, uploads, plainMode, style)) {
            items.clear();
            return false;
        }
        layout.itemWindows.resize(items.size(), size_t(window));
        size_t end = util::CutBeforeUnits(text, size_t(window + 1) * kWindowSize);
        if (pictureIndex > 0 && size_t(positions[size_t(pictureIndex) - 1]) == end) ++end;
        ends.push_back(end);
    }
    // Emoji come back as longer text; the windows then no longer line up
    // with the input (e-mails refuse emoji, so this is only a safeguard).
    if (text.size() == head.size() + input->GetText().size()) {
        for (size_t end : ends) layout.windowEnds.push_back(end > head.size() ? end - head.size() : 0);
    } else {
        layout = SEmailLayout{};
    }
    return !items.empty();
}

void CMsgHandle::OnSendEmailResult(int errorCode, HWND window) { OnSendEmailResult(errorCode, window, 0); }

void CMsgHandle::OnSendEmailResult(int errorCode, HWND window, uintptr_t token) {
    TAVI_SCOPE("CMsgHandle::OnSendEmailResult");
    CMsgHandle* handler = IsWindow(window) ? FindHandlerOfWindow(window) : nullptr;
    CTaviPanel* panel = handler ? handler->GetOwner() : nullptr;
    // The window has gone: the user still learns how the e-mail fared.
    if (!panel) {
        ShowTipBox(nullptr, errorCode == 0 ? util::Localised(u"#SEND_EMAIL_SUCCESS")
                                           : SendEmailFailedText(errorCode));
        return;
    }
    if (panel->GetEmailDlgType() == kConversationLayout) {
        // The input gives up only the parts that went.
        const bool tracked = handler->TakeEmailPartResult(token, errorCode);
        if (errorCode != 0) return handler->ShowSendEmailFailed(errorCode);
        handler->RequestEmailMessages(0, 3, 0);
        if (CRichEditUI* input = panel->GetInputEdit()) {
            if (!tracked) input->Clear();
            input->SetFocus();
        }
        handler->MarkEmailsSeen();
        return;
    }
    // Composing keeps the input whatever the answer.
    handler->m_emailParts.erase(token);
    if (errorCode != 0) return ShowTipBox(window, SendEmailFailedText(errorCode));
    ShowTipBox(window, util::Localised(u"#SEND_EMAIL_SUCCESS"));
    handler->MarkEmailsSeen();
}

bool CMsgHandle::TakeEmailPartResult(uintptr_t token, int errorCode) {
    const auto it = m_emailParts.find(token);
    if (it == m_emailParts.end()) return false;
    const SEmailPartRef ref = it->second;
    m_emailParts.erase(it);
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    if (errorCode == 0) ref.send->Went(ref.part, input);
    else ref.send->Failed(ref.part);
    if (ref.send->Settled()) ref.send->Restore(input);
    return true;
}

void CMsgHandle::ShowSendEmailFailed(int errorCode) const {
    CRichEditExUI* view = GetHistoryView();
    if (!view) return;
    const std::u16string text = SendEmailFailedText(errorCode);
    InsertSimpleErrorMsg(view, text.c_str());
}

void CMsgHandle::RequestEmailMessages(int64_t offset, int64_t count, int flag) {
    IEmailService* service = CurrentEmailService();
    if (!service) return;
    const std::string peer = util::WideToUtf8(m_handleId);
    const int result =
        service->GetMessagesP2P(peer.c_str(), offset, count, flag, GetWindowHandle(), &OnEmailsFetched,
                                RequestedCount(count));
    TAVI_LOG_REFUSAL("email_get_messages_p2p result =%d", result);
}

bool CMsgHandle::MakeEmailRecord(SQelBoxMsg& record, const SEmailItem& item, bool history) const {
    const std::u16string raw = util::Utf8ToWide(item.raw ? item.raw : "");
    const size_t split = raw.find(kHeaderEnd);
    if (!item.raw || split == std::u16string::npos) {
        TAVI_LOG("parse email item error src =%s", item.raw ? item.raw : "");
        return false;
    }
    const std::u16string folder = util::Utf8ToWide(item.folder ? item.folder : "");
    if (util::EqualsNoCase(folder, u"inbox")) {
        record.senderId = m_sessionId;
    } else if (util::EqualsNoCase(folder, u"sent")) {
        record.senderId = util::Utf8ToWide(qel_account_get_buddy_id(m_account.get()));
    } else {
        // Drafts, trash and the like are not part of the conversation.
        TAVI_LOG("email item of folder %s skipped", item.folder ? item.folder : "");
        return false;
    }
    record.senderName = common::GetUserNameOnShow(record.senderId.c_str());
    const std::u16string header = raw.substr(0, split);
    const std::u16string contentType = HeaderField(header, u"Content-Type:");
    record.contentType = contentType.empty() ? "text/plain" : util::WideToUtf8(contentType);
    record.content = util::WideToUtf8(raw.substr(split + 4));
    record.summary = record.content;
    record.time = item.time;
    record.convId = m_handleId;
    record.history = history;
    record.received = util::EqualsNoCase(folder, u"inbox");
    if (m_pOwner) {
        const std::u16string subject = HeaderField(header, u"Subject:");
        if (!subject.empty()) m_pOwner->SetEmailSubject(subject);
    }
    return true;
}

void CMsgHandle::InsertEmailMsgs(const SEmailItem* const* items, int count, int flag, int64_t requested) {
    TAVI_SCOPE("CMsgHandle::InsertEmailMsgs");
    if (!IsEmailWindow() || !m_pOwner) return;
    CRichEditExUI* view = GetHistoryView();
    // The service hands e-mails oldest first; older ones each go on top of
    // what the view holds, so they are taken newest first.
    const bool older = flag != 0;
    int32_t fresh = 0;
    for (int n = 0; items && n < count; ++n) {
        const SEmailItem* item = items[older ? count - 1 - n : n];
        if (!item) {
            // Unreadable, but it takes its place in the list all the same.
            ++fresh;
            TAVI_LOG("stEmailItem null");
            continue;
        }
        // A fetch after each send brings e-mails the view already has.
        const std::string key = std::to_string(item->time) + "|" + (item->folder ? item->folder : "") + "|" +
                                (item->raw ? item->raw : "");
        if (!m_shownEmails.insert(key).second) continue;
        ++fresh;
        SQelBoxMsg record;
        if (!MakeEmailRecord(record, *item, older)) continue;
        record.msgId = TakeProvisionalMsgId();
        RenderRecord(record, view, m_windowKey, m_handleId);
    }
    // Every e-mail new to the window, shown or skipped, moves the older
    // ones one place further from the newest.
    m_pOwner->AdvanceEmailPageStart(fresh);
    if (count == 0 || count < requested) m_pOwner->SetEmailListEnded();
    if (m_pOwner->IsEmailListEnded()) m_pOwner->RemoveMoreHistroyMsgPane();
    else m_pOwner->CreateMoreHistroyMsgPane();
}

void CMsgHandle::MarkEmailsSeen() {
    IEmailService* service = CurrentEmailService();
    if (!service) return;
    const std::string peer = util::WideToUtf8(m_handleId);
    auto* context = new std::u16string(m_handleId);
    const int result = service->SetSeen(peer.c_str(), &OnEmailsSeen, context);
    if (result == 0) return;
    delete context;
    TAVI_LOG("email set seen error=%d", result);
}

void CMsgHandle::EmailRequest(int32_t offset, int32_t count, bool paging) {
    TAVI_SCOPE("CMsgHandle::EmailRequest");
    if (m_pOwner && count > 0) m_pOwner->SetEmailPageSize(count);
    RequestEmailMessages(offset, count, paging ? 1 : 0);
    if (!paging) MarkEmailsSeen();
}

void CMsgHandle::OnSendADHOC(bool plainMode, CRichEditExUI* history, CRichEditUI* input) {
    TAVI_SCOPE("CMsgHandle::OnSendADHOC");
    TAVI_LOG("PackEmailMsg2Send start ...");
    std::vector<SSendItem> items;
    if (!PackMsg2Send(items, plainMode, history, input)) return;
    CHostService<IAdhocSender> sender(kAdhocSenderId);
    if (sender) {
        const HWND window = GetWindowHandle();
        for (const SSendItem& item : items) {
            if (item.m_strContentType == kContentRichXml) {
                ShowTipBox(window, util::Localised(u"#IDS_ADHOC_NOT_SUPPORTED_RICH_TEXT"));
                continue;
            }
            const int result = sender->SendAdhocMsg(item.m_strContentType.c_str(), item.m_strContent.c_str(),
                                                    item.m_strSummary.c_str(), window);
            TAVI_LOG_REFUSAL("adhoc send refused: %d", result);
        }
    }
    input->Clear();
}

}  // namespace tavi
