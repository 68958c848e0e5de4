// The tips and reminder bars over the history: the caption bar, the
// birthday reminder, the @-reminder, the unread group-top message, and the
// status control under important messages.
#include <algorithm>
#include <cstring>

#include "component/TaviImpl.h"
#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "panel/ImportantMsgStatusCtrl.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/qel_bus.h"
#include "sdk/qel_inst.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr const char16_t* kViewName = u"history.view";
constexpr const char16_t* kViewEditName = u"history.view.viewrichedit";
// Tips that keep the history view pushed down while any of them shows.
constexpr const char16_t* kTopTips[] = {u"birth_tip", u"loginout", u"def_tip_ctn"};
constexpr int32_t kTipTop = 24;
constexpr int32_t kTipTopUnderMarquee = 44;
constexpr int32_t kStatusWidth = 25;
constexpr int32_t kStatusHeight = 22;

std::u16string TipName(const char16_t* name) { return std::u16string(kViewName) + u"." + name; }

HWND WindowOf(const CTaviPanel* panel) {
    CWindowUI* window = panel->GetWindow();
    return window ? window->GetHWND() : nullptr;
}

void SetTextAndTip(CControlUI* control, const std::u16string& text) {
    if (!control) return;
    control->SetText(text);
    control->SetToolTip(text);
}

IQelGrpTopService* GrpTopService() {
    return QelBusService(qel_ext::QelGetCurAccount());
}

// The group-top service answered: the next unread one takes the bar, when
// the window is still there.
void OnGrpTopRemindDone(int errorCode, void* context) {
    const HWND window = static_cast<HWND>(context);
    CTaviImpl* component = nullptr;
    if (!IsWindow(window) || !GetTAVIImpl(&component, window) || errorCode != 0) return;
    CTaviPanel* panel = component->GetPanel();
    if (!panel) return;
    panel->ShowViewTipContainer(u"grp_top_info", false);
    panel->UpdateGrpTopUnreadMsg();
}

}  // namespace

// ---- making room ----

void CTaviPanel::ShowViewTipContainer(const char16_t* name, bool show) {
    CControlUI* view = FindSubControl(kViewName);
    CControlUI* tip = name ? FindSubControl(TipName(name)) : nullptr;
    if (!view || !tip) return;
    CControlUI* edit = FindSubControl(kViewEditName);
    int32_t left = 0, top = 0, right = 0, bottom = 0, anchor = 0;
    if (edit) edit->GetCoordinate(left, top, right, bottom, anchor);
    tip->SetVisible(show);
    const bool marquee = IsViewTipCtnVisible(u"frddynamic");
    if (show && edit) {
        edit->SetCoordinate(left, marquee ? kTipTopUnderMarquee : kTipTop, right, bottom, anchor);
    } else if (edit) {
        const bool anyTopTip = std::any_of(std::begin(kTopTips), std::end(kTopTips),
                                           [this](const char16_t* t) { return IsViewTipCtnVisible(t); });
        if (!anyTopTip) edit->SetCoordinate(left, 0, right, bottom, anchor);
    }
    view->NeedUpdate();
    view->Invalidate();
    // The marquee moves only for the tips that sit above it; for the others
    // the room made here (under the marquee) stands.
    const bool tipAboveMarquee = std::any_of(std::begin(kTopTips), std::end(kTopTips),
                                             [&](const char16_t* t) { return std::u16string_view(t) == name; });
    if (marquee && tipAboveMarquee) UpdateFrddymicPanel(true);
}

bool CTaviPanel::IsViewTipCtnVisible(const char16_t* name) const {
    auto* self = const_cast<CTaviPanel*>(this);
    CControlUI* tip = name && self->FindSubControl(kViewName) ? self->FindSubControl(TipName(name)) : nullptr;
    return tip && tip->IsVisible();
}

// ---- caption bar ----

void CTaviPanel::ShowCaptionBar(bool show) {
    if (!FindSubControl(u"history.view.loginout")) return;
    if (show) {
        qel_handle buddy = common::GetQelBuddy(m_sessionId.c_str());
        const int64_t interval = qel_attribs_get_int64(buddy, "last-login-interval", 0);
        std::u16string text;
        if (interval != 0) {
            const std::u16string vague = common::GetVagueTime(interval);
            const std::u16string recently = util::Localised(u"#RECENTLY_ONLINE");
            IUIEngine* engine = GetUIEngine();
            if (!vague.empty()) text = engine && engine->IsRTLLayout() ? vague + recently : recently + vague;
        }
        SetTextAndTip(FindSubControl(u"recenttime"), text);
    }
    m_captionBarShown = show;
    ShowViewTipContainer(u"loginout", show);
}

void CTaviPanel::SetCaptionBarText(const char16_t* text) {
    SetTextAndTip(FindSubControl(u"tipinfo"), util::SafeWide(text));
    SetItemVisible(this, u"recenttime", false);
    m_captionBarShown = true;
    ShowViewTipContainer(u"birth_tip", false);
    ShowViewTipContainer(u"loginout", true);
}

// ---- birthday ----

void CTaviPanel::InitBirthdayRemind() {
    qel::IQelInst* inst = GetQelInst(m_instanceName.c_str());
    const std::string protocol = inst ? inst->GetProtocolId() : std::string();
    if ((protocol != "prpl-kiv-vt" && protocol != "prpl-kiv-ewr-intranet2") || m_windowKey != kPersonChatKey) return;
    qel_handle buddy = common::GetQelBuddy(m_sessionId.c_str());
    if (!buddy) return;
    // The reminder shows while a birthday is near and goes once it has passed.
    ShowViewTipContainer(u"birth_tip", common::GetBirthdayRemind(buddy, 0) != -1);
}

bool CTaviPanel::OnBirthRemind(TNotifyUI&) {
    common::OpenBirthRemindURL(m_sessionId.c_str());
    return true;
}

bool CTaviPanel::OnCancelBirthRemind(TNotifyUI&) {
    ShowViewTipContainer(u"birth_tip", false);
    return true;
}

// ---- @-reminder ----

void CTaviPanel::ShowAtInfoOnTop(const std::u16string& text, const std::u16string& userId) {
    CControlUI* container = FindSubControl(TipName(u"at_info"));
    if (!container) return;
    if (CControlUI* id = FindSubControl(u"history.view.at_info.UserId")) id->SetText(userId);
    common::QelBtnSetAvatarByHandle(FindSubControl(u"AtInfoFace"), common::GetQelBuddy(userId.c_str()));
    qel_handle group = m_pMsgHandle ? qel_conversation_get_buddy_group(m_pMsgHandle->GetConversation()) : nullptr;
    SetTextAndTip(FindSubControl(u"history.view.at_info.AtRemind"),
                  common::GetGrpLatinName(group, userId.c_str()) + u" " + text);
    container->SetVisible(true);
    ShowViewTipContainer(u"at_info", true);
}

bool CTaviPanel::OnAtRemind(TNotifyUI&) {
    CControlUI* id = FindSubControl(u"history.view.at_info.UserId");
    IChatWndMgr* manager = GetChatWndMgr();
    if (id && manager && !id->GetText().empty()) manager->OpenChatWnd(kPersonChatKey, id->GetText().c_str());
    return true;
}

bool CTaviPanel::OnCancelAtRemind(TNotifyUI&) {
    ShowViewTipContainer(u"at_info", false);
    return true;
}

bool CTaviPanel::OnAtMsgRemind(TNotifyUI&) {
    if (m_pHistoryView) m_pHistoryView->EnableMsgVisible(int64_t(m_atReminderMsgId));
    return true;
}

// ---- group-top bar ----

void CTaviPanel::UpdateGrpTopUnreadMsg() {
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    if (!common::HasGrpTopMsg(conversation)) {
        TAVI_LOG("HasGrpTopMsg false");
        return;
    }
    m_grpTopMsgIds.clear();
    qel_handle* records = nullptr;
    int count = 0;
    qel_conversation_get_grptop_page_record(conversation, 1, 1, &records, &count);
    for (int i = 0; i < count; ++i) {
        if (qel_msg_get_data(records[i])) m_grpTopMsgIds.push_back(qel_msg_get_id(records[i]));
    }
    qel_release_handle_array(records);
    if (m_grpTopMsgIds.empty()) {
        ShowViewTipContainer(u"grp_top_info", false);
        return;
    }
    const uint64_t msgId = m_grpTopMsgIds.front();
    qel_handle message = msgId ? qel_conversation_find_msg(conversation, msgId) : nullptr;
    SQelBoxMsg record;
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!data || !CreateQelBoxMsg(record, data, message, conversation, false, m_sessionId.c_str())) return;
    IAppMain* app = GetAppMain();
    IMsgTextMaker* maker = app ? app->GetMsgTextMaker(m_handleId.c_str()) : nullptr;
    const std::u16string text = maker ? maker->GetMsgText(record) : std::u16string();
    if (text.empty()) TAVI_LOG("plain text empty ");
    if (util::EqualsNoCase(util::Utf8ToWide(common::GetMsgDataBiz(message)), u"notice")) {
        if (app) app->ShowGrpTopNotice(message, WindowOf(this));
        return;
    }
    ShowUnreadGrpTopMsgOnTop(message, text, record.senderId);
}

void CTaviPanel::ShowUnreadGrpTopMsgOnTop(qel_handle message, const std::u16string& text,
                                          const std::u16string& userId) {
    if (!FindSubControl(TipName(u"grp_top_info"))) return;
    common::QelBtnSetAvatarByHandle(FindSubControl(u"GrpTopInfoFace"), common::GetQelBuddy(userId.c_str()));
    qel_handle group = m_pMsgHandle ? qel_conversation_get_buddy_group(m_pMsgHandle->GetConversation()) : nullptr;
    SetTextAndTip(FindSubControl(u"history.view.grp_top_info.GrpTopRemind"),
                  common::GetGrpLatinName(group, userId.c_str()) + u" " + text);
    if (CControlUI* id = FindSubControl(u"history.view.grp_top_info.UserId")) id->SetText(userId);
    if (CControlUI* shown = FindSubControl(u"history.view.grp_top_info.ShowMsgId"))
        shown->SetText(util::Utf8ToWide(qel_ext::MsgId2Str(qel_msg_get_id(message))));
    ShowViewTipContainer(u"grp_top_info", true);
}

uint64_t CTaviPanel::GetCurShowGrpTopMsgId() {
    CControlUI* shown = FindSubControl(u"history.view.grp_top_info.ShowMsgId");
    return shown ? qel_ext::Str2MsgId(util::WideToUtf8(shown->GetText())) : 0;
}

bool CTaviPanel::OnGrpTopMsgRemind() {
    const uint64_t msgId = GetCurShowGrpTopMsgId();
    if (!m_pMsgHandle) {
        TAVI_LOG(" GetCurShowGrpTopMsgId = %llu || m_pMsgHandle null", static_cast<unsigned long long>(msgId));
        return false;
    }
    qel_handle message = qel_conversation_find_msg(m_pMsgHandle->GetConversation(), msgId);
    if (!message) {
        TAVI_LOG(" hMsg = null ");
        return false;
    }
    const int64_t shownId = ShownMsgId(int64_t(msgId));
    if (!m_pHistoryView || !m_pHistoryView->HasMsg(shownId)) {
        if (IAppMain* app = GetAppMain()) app->ShowMsgOutsideView(message, WindowOf(this));
        return false;
    }
    m_pHistoryView->EnableMsgVisible(shownId);
    if (IQelGrpTopService* service = GrpTopService())
        service->SetGrpTopMsgRead(&message, 1, &OnGrpTopRemindDone, WindowOf(this));
    return true;
}

void CTaviPanel::OnCancelGrpTopRemind() {
    const uint64_t msgId = GetCurShowGrpTopMsgId();
    if (msgId == 0) {
        TAVI_LOG(" GetCurShowGrpTopMsgId = 0 ");
        return;
    }
    qel_handle message = m_pMsgHandle ? qel_conversation_find_msg(m_pMsgHandle->GetConversation(), msgId) : nullptr;
    if (!message) {
        TAVI_LOG(" hMsg = null ");
        return;
    }
    if (IQelGrpTopService* service = GrpTopService())
        service->CancelGrpTopRemind(message, &OnGrpTopRemindDone, WindowOf(this));
}

bool CTaviPanel::OnGrpTopMsgRemindNotify(TNotifyUI&) { return OnGrpTopMsgRemind(); }

bool CTaviPanel::OnCancelGrpTopRemindNotify(TNotifyUI&) {
    OnCancelGrpTopRemind();
    return true;
}

// ---- important-message status ----

void CTaviPanel::CreateImportantMsgStatus(qel_handle message) {
    if (!m_pHistoryView || !message) return;
    if ((qel_msg_get_flag(message) & QEL_MSG_FLAG_LOCAL) != 0 || !qel_msg_is_important(message)) return;
    const uint64_t msgId = qel_msg_get_id(message);
    const std::u16string controlId = util::WFormat("importantmsg-status-%s", qel_ext::MsgId2Str(msgId).c_str());
    if (auto* existing = dynamic_cast<CImportantMsgStatusCtrl*>(m_pHistoryView->FindSubControl(controlId))) {
        existing->SetInfo(message, m_pHistoryView);
        return;
    }
    CHARRANGE range;
    if (!m_pHistoryView->GetMsgRange(ShownMsgId(int64_t(msgId)), range)) return;
    auto* status = new CImportantMsgStatusCtrl();
    if (!status->Create(u"ImportantMsgCtrl", nullptr)) {
        CControlUI::Destroy(status);
        return;
    }
    status->SetName(controlId);
    status->SetInfo(message, m_pHistoryView);
    status->SetMouseEnabled(false);
    // The status stands in the view under an id of its own: the tick count
    // below, the server's time above, so two never meet.
    const int64_t paneId =
        int64_t((uint64_t(uint32_t(qel_get_adjusted_time())) << 32) | uint64_t(GetTickCount()));
    m_importantStatusIds[controlId] = paneId;
    const bool atEnd = m_pHistoryView->IsAtEnd();
    CREidtInsertHelper helper(m_pHistoryView);
    helper.BeginInsert(paneId, range.cpMax, EMsgKind::Pane);
    if (!helper.InsertControl(status, 0, kStatusWidth, kStatusHeight)) CControlUI::Destroy(status);
    helper.InsertText(u"\r");
    helper.EndInsert();
    if (atEnd) m_pHistoryView->EndDown();
}

}  // namespace tavi
