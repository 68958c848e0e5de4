// What the operations on shown messages ask of the SDK and the client
// common library: favourites, the important-message service that sticks
// messages to a group's top, recalls made on the server, business types.
#include <algorithm>
#include <map>
#include <set>

#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/msg_services.h"
#include "sdk/qel_conversation.h"
#include "sdk/ui/MenuUI.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {

struct MsgOpsState {
    bool serviceOffered = true;
    std::set<std::string> autoTopTypes;
    std::map<uint64_t, std::string> recallers;  // by the message's weak reference
    std::vector<Favorite> favorites;
};

MsgOpsState& State() {
    static MsgOpsState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = MsgOpsState{}; });

std::string Text(const char* s) { return s ? s : ""; }

// Sticking and unsticking: the request is recorded, admitted like every
// request, and completes later by changing the message's group-top flag.
int RequestStick(qel_handle msg, bool stick, qel_important_msg_callback callback, void* userData) {
    auto* m = sdk::As<sdk::Message>(msg);
    const SdkCall call = stick ? SdkCall::Stick : SdkCall::Unstick;
    SdkRequest request;
    request.kind = stick ? "stick" : "unstick";
    request.convId = m ? m->conv->id : "";
    request.msgId = m ? m->id : 0;
    request.result = callback && m ? sdk::AdmitRequest(m->conv, call) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    const uint64_t msgRef = sdk::WeakRef(m);
    const std::optional<int> failure = sdk::TakeFailureCode(call);
    sdk::CompleteLater([=] {
        auto* target = sdk::As<sdk::Message>(sdk::FromWeakRef(msgRef));
        if (failure || !target) {
            callback(failure.value_or(QEL_ERR_MSG_NOT_FOUND), userData);
            return;
        }
        if (stick) target->flags |= QEL_MSG_FLAG_GRP_TOP;
        else target->flags &= ~uint32_t(QEL_MSG_FLAG_GRP_TOP);
        callback(QEL_OK, userData);
    });
    return QEL_OK;
}

class ImportantMsgService final : public IImportantMsgService {
public:
    int StickMsg(qel_handle msg, int mode, qel_important_msg_callback callback, void* userData) override {
        return mode == 0 ? RequestStick(msg, true, callback, userData) : QEL_ERR_INVALID_ARG;
    }
    int CancelStickMsg(qel_handle msg, int mode, qel_important_msg_callback callback, void* userData) override {
        return mode == 1 ? RequestStick(msg, false, callback, userData) : QEL_ERR_INVALID_ARG;
    }
};

}  // namespace

void SetGrpAutoTopContentType(const std::string& contentType) { State().autoTopTypes.insert(contentType); }
void SetImportantMsgServiceOffered(bool offered) { State().serviceOffered = offered; }

void RecallStoredMsg(qel_handle msg, const std::string& byMember) {
    auto* m = sdk::As<sdk::Message>(msg);
    if (!m) return;
    m->flags |= QEL_MSG_FLAG_RECALLED;
    State().recallers[sdk::WeakRef(m)] = byMember.empty() ? m->sender : byMember;
}

std::string RecallerOf(qel_handle msg) {
    auto* m = sdk::As<sdk::Message>(msg);
    auto it = m ? State().recallers.find(sdk::WeakRef(m)) : State().recallers.end();
    return it == State().recallers.end() ? "" : it->second;
}

const std::vector<Favorite>& Favorites() { return State().favorites; }

namespace sdk {

IImportantMsgService* ImportantMsgServiceOf(qel_handle account) {
    static ImportantMsgService service;
    return AccountOf(account) && State().serviceOffered ? &service : nullptr;
}

}  // namespace sdk

}  // namespace sim

using namespace sim;

extern "C" int qel_account_add_new_favorite(qel_handle account, qel_handle conv, qel_handle msg, int64_t, int,
                                            const char*, const char*, const char*, const char* sourceKey,
                                            qel_favorite_callback callback, void* userData) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    auto* m = sdk::As<sdk::Message>(msg);
    SdkRequest request;
    request.kind = "collect";
    request.convId = c ? c->id : "";
    request.msgId = m ? m->id : 0;
    request.value = Text(sourceKey);
    const bool valid = callback && m && m->conv == c && sdk::AccountOf(account) == c->account;
    request.result = valid ? sdk::AdmitRequest(c, SdkCall::Collect) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    const std::optional<int> failure = sdk::TakeFailureCode(SdkCall::Collect);
    const Favorite favorite{c->id, m->id, request.value};
    sdk::CompleteLater([=] {
        if (!failure) State().favorites.push_back(favorite);
        callback(failure.value_or(QEL_OK), userData);
    });
    return QEL_OK;
}

namespace common {

bool IsGrpAutoTopType(qel_handle group, qel_handle msg) {
    auto* m = sdk::As<sdk::Message>(msg);
    return sdk::As<sdk::BuddyGroup>(group) && m && sim::State().autoTopTypes.count(m->contentType) != 0;
}

std::u16string GetSenderUserId(const SQelBoxMsg& record) { return record.senderId; }

std::u16string GetRecallSenderUserId(const SQelBoxMsg& record) { return ToWide(RecallerOf(record.message)); }

std::u16string GetNickName(const SQelBoxMsg& record, bool) { return GetUserNameOnShow(record.senderId.c_str()); }

void FiltMenuDecollator(CMenuUI* menu) {
    if (!menu) return;
    bool previousWasSeparator = true;  // a separator at the top goes
    for (int i = 0; i < menu->GetItemCount();) {
        const bool separator = menu->GetItemAt(i)->separator;
        if (separator && previousWasSeparator) {
            menu->RemoveItemAt(i);
            continue;
        }
        previousWasSeparator = separator;
        ++i;
    }
    const int last = menu->GetItemCount() - 1;
    if (last >= 0 && menu->GetItemAt(last)->separator) menu->RemoveItemAt(last);
}

}  // namespace common
