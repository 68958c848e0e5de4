// Mentions of the user in the messages the history view shows: a message
// that names the user raises the @-reminder bar, once per message.
#include "msghandle/MsgExtraInfo.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr const char* kLastAtMsgKey = "last-at-message-id";
constexpr int kAttribSaveMode = 3;

std::string OwnId(qel_handle account) { return qel_buddy_get_id(qel_account_bound_buddy(account)); }
}  // namespace

void CTaviPanel::AddAtMessage(const SQelBoxMsg& record) {
    if (!IsPluginAt() || !m_pMsgHandle) return;
    // Mentions come from messages the SDK holds: its id names them.
    const uint64_t id = record.sdkMsgId;
    if (id == 0 || id <= qel_ext::GetQELAttribs_msg_id(m_pMsgHandle->GetConversation(), kLastAtMsgKey)) return;
    if (!ShowByParseMsgHead(record)) ShowByParsePlainText(record);
}

bool CTaviPanel::IsContentAtMe(const SQelBoxMsg& record) const {
    const std::string self = OwnId(m_account.get());
    if (util::WideToUtf8(record.senderId) == self) return false;
    SMsgExtraInfo info;
    if (!ParseMsgExtraInfo(record.extraInfo, info)) return false;
    return util::ListContains(info.m_strContentAt, "all") ||
           (!self.empty() && util::ListContains(info.m_strContentAt, self));
}

bool CTaviPanel::ShowByParseMsgHead(const SQelBoxMsg& record) {
    if (!IsContentAtMe(record)) return false;
    IAppMain* app = GetAppMain();
    SMsgDisplay display;
    if (app) app->GetMsgDisplay(record, m_sessionId.c_str(), display);
    RaiseAtReminder(record, display.senderText);
    return true;
}

void CTaviPanel::ShowByParsePlainText(const SQelBoxMsg& record) {
    qel_handle account = m_account.get();
    const std::string self = OwnId(account);
    // What the user wrote never reminds the user.
    if (record.senderId.empty() || util::WideToUtf8(record.senderId) == self) return;
    IAppMain* app = GetAppMain();
    SMsgDisplay display;
    if (!app || !app->GetMsgDisplay(record, m_sessionId.c_str(), display)) return;
    std::u16string name;
    GetAtName(name, display.plainText);
    const std::u16string nickname = common::GetLatinName(qel_account_bound_buddy(account), "nickname");
    qel_handle own = qel_buddy_group_get_member_attribs(GetCurrentGroup(), self.c_str());
    const std::u16string note = util::Utf8ToWide(own ? qel_attribs_get_str(own, "note", "") : "");
    const bool mentioned = name == u"all" || name == u"ALL" || (!nickname.empty() && name == nickname) ||
                           (!note.empty() && name == note);
    if (!mentioned) return;
    RaiseAtReminder(record, display.senderText);
}

void CTaviPanel::GetAtName(std::u16string& name, const std::u16string& text) {
    name.clear();
    const size_t at = text.find(u'@');
    if (at == std::u16string::npos) return;
    const size_t space = text.find(u' ', at + 1);
    name = text.substr(at + 1, space == std::u16string::npos ? std::u16string::npos : space - at - 1);
}

void CTaviPanel::RaiseAtReminder(const SQelBoxMsg& record, const std::u16string& text) {
    const uint64_t id = record.sdkMsgId;
    if (m_pMsgHandle) qel_ext::SetQELAttribs_msg_id(m_pMsgHandle->GetConversation(), kLastAtMsgKey, id, kAttribSaveMode);
    ShowAtInfoOnTop(text, record.senderId);
    m_atReminderMsgId = id;
}

}  // namespace tavi
