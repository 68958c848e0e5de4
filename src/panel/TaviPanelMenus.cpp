// The context menus of the history view and the input, the links in the
// history view with the friend menu, and the commands that act on shown
// messages (the resend button, the collect tip).
#include <algorithm>

#include "module/DllObject.h"
#include "module/ModuleDll.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgOpsSupport.h"
#include "panel/TaviPanel.h"
#include "sdk/common.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/msg_services.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/qel_inst.h"
#include "sdk/ui.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int32_t kHistoryMenu = 50000;
constexpr int32_t kInputMenu = 50010;
constexpr int32_t kFriendMenu = 39000;
enum : int32_t {
    kItemCut = 50001,
    kItemCopy = 50002,
    kItemPaste = 50003,
    kItemSelectAll = 50004,
    kItemSavePicture = 50005,
    kItemClear = 50006,
    kItemSaveAsSmiley = 50007,
    kItemEditPicture = 50008,
    kItemOpenFolder = 50009,
    kItemDecodeQr = 50013,
    kItemRecall = 50014,
    kItemQuote = 50015,
    kItemCollect = 50016,
    kItemEmail = 50017,
    kItemStick = 50018,
    kItemUnstick = 50019,
    kItemTranslate = 50020,
    kItemHideTranslation = 50021,
    kItemZoom = 50400,
    kItemZoomFirst = 50401,
    kItemZoomLast = 50407,
    kItemZoomOther = 50408,
    kItemFriendChat = 39001,
    kItemFriendShow = 39002,
    kItemFriendAdd = 39003,
    kItemFriendAt = 39004,
};
// Image objects of this type are file icons, not pictures.
constexpr int kFileIconImageType = 100000;
constexpr uint32_t kCollectTipMs = 3000;
constexpr uint32_t kCollectTagHideMs = 200;
constexpr const char* kNoSendLimit = "im.pc.not.send.message.function";
// A user link that was clicked, and a link that became plain text.
constexpr uint32_t kClickedUserLinkColor = 0xC19000;
constexpr uint32_t kPlainLinkColor = 0x505050;

const TMenuItemInfo* MenuItemOf(const TNotifyUI& msg) { return reinterpret_cast<const TMenuItemInfo*>(msg.wParam); }

HWND WindowOf(CControlUI* control) {
    CWindowUI* window = control ? control->GetWindow() : nullptr;
    return window ? window->GetHWND() : nullptr;
}

void ShowMenuAtPointer(CMenuUI* menu, CWindowUI* window, TPointUI point, INotifyUI* target) {
    if (!window) {
        delete menu;
        return;
    }
    const RECT frame = window->GetWindowRect();
    menu->Show(window->GetHWND(), frame.left + point.x, frame.top + point.y, target);
}

// Colours the link's text, leaving the user's selection as it was.
void ColorLinkText(CRichEditUI* view, const SLinkInfo& link, uint32_t color) {
    if (!view) return;
    long start = 0, end = 0;
    view->GetSel(start, end);
    view->SetSel(link.start, link.end);
    view->SetSelColor(color);
    view->SetSel(start, end);
}

// Whether the message is one the view shows as a message (not a notice or pane).
bool IsShownMsg(const CRichEditExUI* view, int64_t id) {
    if (!view || id == 0) return false;
    for (const SViewMsg& item : view->GetMsgs()) {
        if (item.id == id) return item.kind == EMsgKind::Msg;
    }
    return false;
}

}  // namespace

// ---- Building the menus ----

bool CTaviPanel::OnRClickViewEdit(TNotifyUI& msg) {
    CRichEditExUI* view = m_pHistoryView;
    auto* menu = new CMenuUI();
    if (!view || !menu->Load(kHistoryMenu)) {
        delete menu;
        return true;
    }
    msg.wParam = reinterpret_cast<uintptr_t>(menu);
    if (!view->HasSelection()) menu->EnableItem(kItemCopy, false);
    menu->RemoveItem(kItemCut);
    menu->RemoveItem(kItemPaste);

    auto* image = dynamic_cast<COleImageObj*>(view->FindObject(msg.ptMouse));
    if (!image) menu->RemoveItem(kItemSavePicture);
    if (!image || image->GetImageType() == kFileIconImageType) {
        for (int32_t id : {kItemSaveAsSmiley, kItemEditPicture, kItemDecodeQr, kItemOpenFolder}) menu->RemoveItem(id);
    }
    menu->SetParam(image);

    const int64_t id = view->GetMsgIdByPoint(msg.ptMouse);
    m_menuMsgId = IsShownMsg(view, id) ? id : 0;
    CMsgHandle* handler = m_pMsgHandle.get();
    const bool onMsg = handler && m_menuMsgId != 0;
    if (!onMsg || !handler->MsgCanRecall(m_menuMsgId)) menu->RemoveItem(kItemRecall);
    if (!onMsg || !handler->MsgCanCollect(m_menuMsgId)) menu->RemoveItem(kItemCollect);
    qel_handle message = onMsg ? handler->GetQelHMessage(m_menuMsgId) : nullptr;
    if (!message || !CMsgHandle::CanTranslateMsg(message)) {
        menu->RemoveItem(kItemTranslate);
        menu->RemoveItem(kItemHideTranslation);
    } else {
        menu->RemoveItem(handler->IsTranslationShown(qel_msg_get_id(message)) ? kItemTranslate : kItemHideTranslation);
    }
    if (!onMsg || !handler->MsgCanGrpStick(m_menuMsgId)) menu->RemoveItem(kItemStick);
    if (!onMsg || !handler->MsgCanDeleteGrpStick(m_menuMsgId)) menu->RemoveItem(kItemUnstick);
    if (!onMsg || !handler->MsgCanQuote(m_menuMsgId)) {
        TAVI_LOG("no Recallmsg id=%lld", static_cast<long long>(m_menuMsgId));
        menu->RemoveItem(kItemQuote);
    }

    pfx::IObject* emailService = nullptr;
    pfx::IHost* host = GetModuleHost();
    const bool emailKind = m_windowKey == kPersonChatKey || m_windowKey == kGroupChatKey;
    if (emailKind && host && host->QueryObject(pfx::kEmailServiceName, &emailService) && emailService)
        emailService->Release();
    else menu->RemoveItem(kItemEmail);
    if (qel_account_get_login_state(m_account.get()) != 1) menu->EnableItem(kItemRecall, false);

    void* provided = nullptr;
    if (m_pContextMenuProvider && m_pContextMenuProvider->QueryObject(pfx::kContextMenuProviderIid, &provided, 0)) {
        auto* provider = static_cast<pfx::IContextMenuProvider*>(provided);
        const std::map<std::u16string, std::u16string> params{{u"user_id", m_sessionId}};
        for (int i = 0; i < provider->GetExtensionCount(); ++i) {
            if (pfx::IContextMenuExtension* extension = provider->GetExtension(i))
                extension->AddMenuItems(menu, view, params);
        }
    }
    common::FiltMenuDecollator(menu);
    ApplyZoomItems(menu);
    ShowMenuAtPointer(menu, GetWindow(), msg.ptMouse, this);
    return true;
}

void CTaviPanel::ApplyZoomItems(CMenuUI* menu) {
    SMenuItem* zoom = menu->FindItem(kItemZoom);
    if (!zoom || !m_pHistoryView) return;
    int numerator = 0, denominator = 0;
    m_pHistoryView->GetZoom(numerator, denominator);
    const int percent = numerator && denominator ? numerator * 100 / denominator : 100;
    const std::u16string current = util::WFormat("%d%%", percent);
    bool matched = false;
    for (SMenuItem& item : zoom->children) {
        // Only zoom levels are in this submenu; a level's text is its percentage.
        if (item.separator) continue;
        item.checked = util::EqualsNoCase(item.text, current);
        matched = matched || item.checked;
    }
    if (matched) return;
    SMenuItem separator;
    separator.separator = true;
    zoom->children.push_back(separator);
    menu->AddSubItem(kItemZoom, kItemZoomOther, current, true);
}

bool CTaviPanel::OnRClickChatEdit(TNotifyUI& msg) {
    auto* menu = new CMenuUI();
    if (!m_pInputEdit || !menu->Load(kInputMenu)) {
        delete menu;
        return true;
    }
    msg.wParam = reinterpret_cast<uintptr_t>(menu);
    if (!m_pInputEdit->HasSelection()) {
        menu->EnableItem(kItemCopy, false);
        menu->EnableItem(kItemCut, false);
    }
    auto* image = dynamic_cast<COleImageObj*>(m_pInputEdit->FindObject(msg.ptMouse));
    if (!image) {
        for (int32_t id : {kItemSavePicture, kItemSaveAsSmiley, kItemEditPicture, kItemDecodeQr}) menu->RemoveItem(id);
    }
    menu->SetParam(image);
    common::FiltMenuDecollator(menu);
    ShowMenuAtPointer(menu, GetWindow(), msg.ptMouse, this);
    return true;
}

// ---- Menu commands ----

COleImageObj* CTaviPanel::MenuImage(const TMenuItemInfo& item, CRichEditUI* edit) const {
    // The picture may have gone with its message while the menu was open.
    auto* image = static_cast<COleImageObj*>(item.pParam);
    return image && edit && edit->GetObjectPos(image) >= 0 ? image : nullptr;
}

void CTaviPanel::OnPictureItem(const TMenuItemInfo& item, CRichEditUI* edit) {
    COleImageObj* image = MenuImage(item, edit);
    if (!image) {
        TAVI_LOG("menu item %d: the picture is gone", item.nId);
        return;
    }
    const std::u16string path = image->GetFilePath();
    switch (item.nId) {
        case kItemSavePicture: SaveImage(image); break;
        case kItemSaveAsSmiley: SaveAsSmiley(path.c_str()); break;
        case kItemEditPicture: EditImage(path.c_str()); break;
        case kItemOpenFolder: OpenContainingFolder(path); break;
        case kItemDecodeQr: DecodeQrCode(path); break;
        default: break;
    }
}

bool CTaviPanel::OnViewREMenuItemClick(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    CRichEditExUI* view = m_pHistoryView;
    if (!item || !view) return true;
    CMsgHandle* handler = m_pMsgHandle.get();
    const int64_t msgId = m_menuMsgId;
    // The message may have vanished between the right click and the choice.
    const bool onMsg = handler && IsShownMsg(view, msgId);
    switch (item->nId) {
        case kItemCopy: view->Copy(); break;
        case kItemSelectAll: view->SetSelAll(); break;
        case kItemClear: ClearHistoryView(); break;
        case kItemSavePicture:
        case kItemSaveAsSmiley:
        case kItemEditPicture:
        case kItemOpenFolder:
        case kItemDecodeQr: OnPictureItem(*item, view); break;
        case kItemRecall:
            if (onMsg) handler->RecallMsg(msgId);
            break;
        case kItemQuote:
            if (!onMsg) break;
            handler->QuoteMsg(msgId);
            LoadChatFont();
            if (m_pInputEdit) m_pInputEdit->SetFocus();
            break;
        case kItemCollect:
            if (common::GetRBACLimit(kNoSendLimit) == 1) {
                const std::u16string text = util::Localised(u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION");
                ShowOpBox(WindowOf(this), text, u"#IDS_RBAC_NOT_SEND_MESSAGE_PERMISSION", u"#OK");
            } else if (onMsg) {
                handler->CollectMsg(msgId);
            }
            break;
        case kItemEmail: SendMsgsByEmail(); break;
        case kItemStick:
            if (onMsg) handler->StickGrpMsg(msgId);
            break;
        case kItemUnstick:
            if (onMsg) handler->CancelStickGrpMsg(msgId);
            break;
        case kItemTranslate:
            if (onMsg) handler->TranslateMsg(msgId);
            break;
        case kItemHideTranslation:
            if (onMsg) handler->HideTranslation(msgId);
            break;
        default:
            if (item->nId >= kItemZoomFirst && item->nId <= kItemZoomLast) {
                OnZoomItem(*item);
                break;
            }
            void* provided = nullptr;
            if (m_pContextMenuProvider &&
                m_pContextMenuProvider->QueryObject(pfx::kContextMenuProviderIid, &provided, 0)) {
                auto* provider = static_cast<pfx::IContextMenuProvider*>(provided);
                for (int i = 0; i < provider->GetExtensionCount(); ++i) {
                    pfx::IContextMenuExtension* extension = provider->GetExtension(i);
                    if (extension && extension->OnMenuCommand(msg, "CallByMenu")) return true;
                }
            }
            TAVI_LOG("history menu: no item %d", item->nId);
            break;
    }
    return true;
}

bool CTaviPanel::OnChatREMenuItemClick(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    CRichEditUI* input = m_pInputEdit;
    if (!item || !input) return true;
    switch (item->nId) {
        case kItemCut:
            input->Cut();
            input->SetFocus();
            break;
        case kItemCopy: input->Copy(); break;
        case kItemPaste:
            input->Paste();
            input->SetFocus();
            break;
        case kItemSelectAll: input->SetSelAll(); break;
        case kItemClear:
            input->Clear();
            input->SetFocus();
            break;
        case kItemSavePicture:
        case kItemSaveAsSmiley:
        case kItemEditPicture:
        case kItemDecodeQr: OnPictureItem(*item, input); break;
        default: TAVI_LOG("input menu: no item %d", item->nId); break;
    }
    return true;
}

void CTaviPanel::OnZoomItem(const TMenuItemInfo& item) {
    if (!m_pHistoryView) return;
    m_pHistoryView->SetZoom(util::WToI(item.sText), 100);
    qel_handle prefs = qel_account_preference(m_account.get());
    if (!prefs) return;
    qel_preference_set_wstr(prefs, "SystemInfo.Richedit.ShowScale", item.sText.c_str());
    qel_preference_save(prefs, 1);
}

void CTaviPanel::ClearHistoryView() {
    m_pHistoryView->Clear();
    m_pHistoryView->ClearDot();
    ApplyShowScale();
    m_pHistoryView->ShowBottomPanel(false);
    if (m_pMsgHandle) {
        m_pMsgHandle->ClearTopMsgCount();
        m_historyMsgHandle.Reset();
        if (qel_handle conversation = m_pMsgHandle->GetConversation())
            qel_conversation_set_readed_ex(conversation, 0, "CTaviPanel::ClearHistoryView");
    }
    ShowViewTipContainer(u"at_info", false);
}

void CTaviPanel::OpenContainingFolder(const std::u16string& path) {
    // Quoted, so that no character of the file name reaches the shell as
    // another argument; quotes cannot be part of a file name there.
    std::u16string file = path;
    std::replace(file.begin(), file.end(), u'/', u'\\');
    file.erase(std::remove(file.begin(), file.end(), u'"'), file.end());
    const std::u16string parameters = u"/select,\"" + file + u"\"";
    ShellExecuteW(WindowOf(this), u"open", u"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void CTaviPanel::DecodeQrCode(const std::u16string& path) {
    TAVI_LOG("e_fun_qr_code_decode qr_code_decode");
    pfx::IHost* host = GetModuleHost();
    pfx::IObject* object = nullptr;
    if (!host || !host->QueryObject(pfx::kQrCodeServiceName, &object) || !object) return;
    void* service = nullptr;
    if (object->QueryObject(pfx::kQrCodeServiceIid, &service, 0))
        static_cast<pfx::IQrCodeService*>(service)->DecodeImage(path.c_str());
    object->Release();
}

void CTaviPanel::SendMsgsByEmail() {
    CRichEditExUI* view = m_pHistoryView;
    pfx::IHost* host = GetModuleHost();
    pfx::IObject* object = nullptr;
    void* service = nullptr;
    if (!view || !m_pMsgHandle || !host || !host->QueryObject(pfx::kEmailServiceName, &object) || !object) return;
    if (!object->QueryObject(pfx::kEmailServiceIid, &service, 0)) {
        object->Release();
        return;
    }
    long start = 0, end = 0;
    view->GetSel(start, end);
    std::vector<int64_t> shown;
    if (start != end) view->GetMsgIdListByRange(start, end, shown);
    if (shown.empty() && IsShownMsg(view, m_menuMsgId)) shown.push_back(m_menuMsgId);
    std::vector<uint64_t> ids;
    for (int64_t id : shown) {
        if (IsShownMsg(view, id)) ids.push_back(FindSdkMsgId(id).value_or(uint64_t(id)));
    }
    auto* email = static_cast<pfx::IEmailService*>(service);
    const HWND hwnd = WindowOf(this);
    const bool warn = email->CheckConversation(m_pMsgHandle->GetConversation(), m_sessionId.c_str());
    if (!warn || ShowOpBox(hwnd, util::Localised(u"#SEND_EMAIL_CONTENT_CONTAIN_ERROR"), u"#TIP", u"#CANCEL_OK") ==
                     kOpBoxSecondButton)
        email->OpenComposer(hwnd, ids);
    object->Release();
}

// ---- Links and the friend menu ----

bool CTaviPanel::OnLinkClick(TNotifyUI& msg) {
    const auto* link = reinterpret_cast<const SLinkInfo*>(msg.lParam);
    if (!link) return true;
    IAppMain* app = GetAppMain();
    switch (link->type) {
        case 14:
            if (!common::IsNormalUser(link->targetId.c_str()) || !m_pHostSink) break;
            ColorLinkText(m_pHistoryView, *link, kClickedUserLinkColor);
            ShowFriendMenu(*link);
            break;
        case 15:
            // The user asked not to be told of this buddy's auto-replies again.
            common::SetQELAttribs_int(common::GetQelBuddy(link->targetId.c_str()), "auto-reply-not-notify", 1, 1);
            if (m_pHistoryView) m_pHistoryView->RemoveLinks(link->start, link->end);
            ColorLinkText(m_pHistoryView, *link, kPlainLinkColor);
            break;
        case 19:
            if (m_pMsgHandle) m_pMsgHandle->OnReSendMsg(m_pHistoryView, m_pInputEdit, link->targetId);
            break;
        case 20: JoinGroupOfLink(*link); break;
        case 32: {
            const std::u16string server = common::GetEXEConfigStr(u"ErrReport", u"serverID", u"");
            if (common::GetEXEConfig(u"ErrReport", u"enable", 0) == 1 && !server.empty() && app)
                app->OpenPersonChat(server.c_str(), link->text.c_str());
            break;
        }
        case 33:
            if (app) {
                const CLinkObj object(link->type, link->targetId);
                app->HandleLink(&object);
            }
            break;
        default:
            if (m_pHostSink) m_pHostSink->OnHostEvent(1, msg.lParam, 0);
            break;
    }
    return true;
}

void CTaviPanel::JoinGroupOfLink(const SLinkInfo& link) {
    const std::string group = util::WideToUtf8(link.targetId);
    qel_handle conversations = qel_account_conversations(m_account.get());
    const int result = group.empty() || !conversations
                           ? -1
                           : qel_conversations_request_join_conversation(conversations, group.c_str());
    if (result != 0) TAVI_LOG("join link: request for group '%s' not taken (%d)", group.c_str(), result);
}

void CTaviPanel::ShowFriendMenu(const SLinkInfo& link) {
    m_menuLinkUser = link.targetId;
    auto* menu = new CMenuUI(kFriendMenu);
    menu->AddItem(kItemFriendChat, util::Localised(u"#SEND_MESSAGE"));
    const bool adhoc = m_windowKey == kAdhocChatKey;
    if (!adhoc) menu->AddItem(kItemFriendAt, u"@ TA");
    qel_handle buddies = qel_account_buddies(m_account.get());
    const std::string user = util::WideToUtf8(link.targetId);
    const bool known = qel_buddies_cate_find_buddy(qel_buddies_find_cate(buddies, QEL_CATE_BUDDY), user.c_str()) ||
                       qel_buddies_cate_find_buddy(qel_buddies_find_cate(buddies, QEL_CATE_GROUP), user.c_str());
    if (!known && !adhoc) {
        menu->AddSeparator();
        const bool asFriend = common::GetEXEConfig(u"normal", u"add_freind_type", 0) == 1;
        menu->AddItem(kItemFriendAdd, util::Localised(asFriend ? u"#ADD_AS_FRIEND" : u"#ADD_TO_MY_FRIEND"));
    }
    ShowMenuAtPointer(menu, GetWindow(), TPointUI{}, this);
}

bool CTaviPanel::OnMenuFrdItemClick(TNotifyUI& msg) {
    const TMenuItemInfo* item = MenuItemOf(msg);
    IAppMain* app = GetAppMain();
    if (!item || m_menuLinkUser.empty()) return true;
    switch (item->nId) {
        case kItemFriendChat:
            if (app) app->OpenPersonChat(m_menuLinkUser.c_str(), nullptr);
            break;
        case kItemFriendShow:
        case kItemFriendAdd: AskInstanceAboutLinkUser(item->nId); break;
        case kItemFriendAt: AddAtName(common::GetUserNameOnShow(m_menuLinkUser.c_str()), false); break;
        default: TAVI_LOG("friend menu: item %d is not offered here", item->nId); break;
    }
    return true;
}

// The user's card and friend requests are the SDK instance's windows.
void CTaviPanel::AskInstanceAboutLinkUser(int32_t itemId) {
    qel::IQelInst* inst = GetQelInst(m_instanceName.c_str());
    bool taken = false;
    if (inst && itemId == kItemFriendShow) {
        taken = inst->DoOperation(qel::kQelInstShowUser, m_menuLinkUser.c_str());
    } else if (inst) {
        const qel::SAddFriendRequest request{m_menuLinkUser, common::GetUserNameOnShow(m_menuLinkUser.c_str()),
                                             WindowOf(this)};
        taken = inst->DoOperation(qel::kQelInstAddFriend, &request);
    }
    if (!taken) TAVI_LOG("friend menu: item %d not taken by the SDK instance", itemId);
}

// ---- Shown-message commands ----

bool CTaviPanel::OnBtnResend(TNotifyUI& msg) {
    // The button's holder is named with the failed message's stored id.
    CControlUI* holder = msg.pSender ? msg.pSender->GetParent() : nullptr;
    if (holder && m_pMsgHandle) m_pMsgHandle->OnReSendMsg(m_pHistoryView, m_pInputEdit, holder->GetName());
    return true;
}

void CTaviPanel::ShowCollectTip(int32_t, int32_t, int32_t, int32_t) {
    if (CControlUI* label = FindSubControl(u"collect_tip")) label->SetText(util::Localised(u"#IDS_COLLECT_TIP"));
    ShowViewTipContainer(u"collect_info", true);
    m_collectTagTimer.Stop();
    HideCollectTipAfter(m_collectTipTimer, kCollectTipMs);
}

void CTaviPanel::HideCollectTipAfter(::CTimerSource& timer, uint32_t ms) {
    timer.Bind([this, &timer] {
        timer.Stop();
        ShowViewTipContainer(u"collect_info", false);
    });
    timer.SetParams(ms, 0);
    timer.Start();
}

bool CTaviPanel::OnBtnAddCollectTag(TNotifyUI&) {
    if (IAppMain* app = GetAppMain(); app && m_pMsgHandle)
        app->OpenCollectTagEditor(WindowOf(this), m_pMsgHandle->GetLastCollectKey().c_str());
    m_collectTipTimer.Stop();
    HideCollectTipAfter(m_collectTagTimer, kCollectTagHideMs);
    return true;
}

}  // namespace tavi
