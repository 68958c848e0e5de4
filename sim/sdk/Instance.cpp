// SDK instances as the host hands them out, the current account, and the
// chat window kinds of the application object.
#include <atomic>

#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/sdk/ChatWnd.h"
#include "sim/sdk/World.h"

namespace sim::sdk {

namespace {

// The world owns instances; the count only tracks the host's references.
class QelInst final : public qel::IQelInst {
public:
    QelInst(std::u16string name, Account* account) : m_name(std::move(name)), m_account(WeakRef(account)) {}
    pfx::GUID GetClassId() const override { return pfx::GUID{}; }
    int32_t Release() override { return --m_refs; }
    bool QueryObject(const pfx::GUID&, void**, int32_t) override { return false; }
    int32_t AddRef() override { return ++m_refs; }
    int32_t DecRef() override { return --m_refs; }
    qel_handle GetAccount() override { return FromWeakRef(m_account); }
    std::u16string GetInstText() override { return m_name; }
    std::string GetProtocolId() override { return m_protocol; }
    void SetProtocolId(std::string protocol) { m_protocol = std::move(protocol); }
    // The user's card and the friend request are the client's windows: a
    // person sees them, so they are recorded with the application's calls.
    bool DoOperation(int operation, const void* data) override {
        if (!data) return false;
        if (operation == qel::kQelInstShowUser) {
            RecordAppCall("show-user " + ToUtf8(static_cast<const char16_t*>(data)));
            return true;
        }
        if (operation != qel::kQelInstAddFriend) return false;
        const auto* request = static_cast<const qel::SAddFriendRequest*>(data);
        RecordAppCall("add-friend " + ToUtf8(request->userId) + " \"" + ToUtf8(request->name) + "\"" +
                      (request->window ? "" : " without-window"));
        return true;
    }

private:
    std::u16string m_name;
    std::string m_protocol = "prpl-kiv-vt";
    uint64_t m_account;
    std::atomic<int32_t> m_refs{1};
};

const pfx::GUID kPersonKey = pfx::MakeGuid("{7CADFB98-F2B4-4BD7-9C4F-A06B1D69C556}");
const pfx::GUID kGroupKey = pfx::MakeGuid("{842CE4E4-969A-48FD-B924-9A5DE68253BC}");
const pfx::GUID kAdhocKey = pfx::MakeGuid("{8651C5D0-D8D5-440B-9679-CEBE887B5559}");
const pfx::GUID kEmailKey = pfx::MakeGuid("{21DE38CE-C45E-4943-850C-573ADFDB3CF5}");

class ChatWndKind final : public IChatWndObj, public IChatWndType {
public:
    ChatWndKind(uint32_t flags, int cateType, bool hostFlag, std::string channel)
        : m_flags(flags), m_cateType(cateType), m_hostFlag(hostFlag), m_channel(std::move(channel)) {}

    bool GetHostFlag() override { return m_hostFlag; }
    uint32_t GetFlags() override { return m_flags; }
    int GetCateType() override { return m_cateType; }
    int GetKindNum() override { return m_kindNum; }
    void SetKindNum(int kind) { m_kindNum = kind; }

    qel_handle FindConversation(const char16_t* sessionId) override {
        Account* account = CurrentAccountObj();
        if (!account || !sessionId) return nullptr;
        const std::string peer = ToUtf8(sessionId);
        const bool isGroup = m_cateType == QEL_CATE_GROUP;
        if (isGroup ? !account->FindGroup(peer) : !account->FindBuddy(peer)) return nullptr;
        return account->PeerConversation(peer, isGroup, m_channel, true);
    }

    void RequestSvrConvId(qel_handle conversation) override {
        auto* conv = As<Conversation>(conversation);
        SdkRequest request;
        request.kind = "svr_conv_id";
        request.convId = conv ? conv->id : "";
        RecordRequest(request);
        if (!conv) return;
        const uint64_t ref = WeakRef(conv);
        Post([ref] {
            auto* answered = As<Conversation>(FromWeakRef(ref));
            if (answered && answered->svrConvId.empty()) answered->svrConvId = "svr-" + answered->id;
        });
    }

private:
    uint32_t m_flags;
    int m_cateType;
    bool m_hostFlag;
    std::string m_channel;
    int m_kindNum = 0;
};

struct InstState {
    std::map<std::u16string, std::unique_ptr<QelInst>> instances;
    std::map<pfx::GUID, std::unique_ptr<ChatWndKind>, pfx::GuidLess> kinds;

    InstState() {
        kinds[kPersonKey] = std::make_unique<ChatWndKind>(0x41, QEL_CATE_BUDDY, false, "im");
        kinds[kGroupKey] = std::make_unique<ChatWndKind>(0x41, QEL_CATE_GROUP, false, "group");
        kinds[kAdhocKey] = std::make_unique<ChatWndKind>(0, QEL_CATE_BUDDY, false, "adhoc");
        kinds[kEmailKey] = std::make_unique<ChatWndKind>(0, QEL_CATE_BUDDY, false, "email");
    }
};

InstState& State() {
    static InstState& state = *new InstState;
    return state;
}

const bool kRegistered = RegisterReset([] {
    for (auto& [name, inst] : State().instances) UnregisterNamedObject(name);
    InstState old = std::move(State());
    State() = InstState{};
});

}  // namespace

Account* CurrentAccountObj() {
    IAppMain* app = GetAppMain();
    qel::IQelInst* inst = app ? app->GetCurQelInst() : nullptr;
    return inst ? As<Account>(inst->GetAccount()) : nullptr;
}

IChatWndObj* FindChatWndObj(const pfx::GUID& windowKey) {
    auto it = State().kinds.find(windowKey);
    return it == State().kinds.end() ? nullptr : it->second.get();
}

IChatWndType* FindChatWndType(const pfx::GUID& windowKey) {
    auto it = State().kinds.find(windowKey);
    return it == State().kinds.end() ? nullptr : it->second.get();
}

qel::IQelInst* AddInstance(const std::u16string& name, Account* account) {
    auto& slot = State().instances[name];
    slot = std::make_unique<QelInst>(name, account);
    RegisterNamedObject(name, slot.get());
    return slot.get();
}

}  // namespace sim::sdk

namespace sim {

qel::IQelInst* FindQelInst(const std::u16string& instanceName) {
    auto it = sdk::State().instances.find(instanceName);
    return it == sdk::State().instances.end() ? nullptr : it->second.get();
}

void SetInstanceProtocol(const std::u16string& instanceName, const std::string& protocol) {
    auto it = sdk::State().instances.find(instanceName);
    if (it != sdk::State().instances.end()) it->second->SetProtocolId(protocol);
}

void SetChatWndKind(const pfx::GUID& key, uint32_t flags, int cateType, bool hostFlag, const std::string& channel) {
    sdk::State().kinds[key] = std::make_unique<sdk::ChatWndKind>(flags, cateType, hostFlag, channel);
}

void RemoveChatWndKind(const pfx::GUID& key) { sdk::State().kinds.erase(key); }

}  // namespace sim

namespace sim {
void SetChatWndKindNum(const pfx::GUID& key, int kind) {
    auto it = sdk::State().kinds.find(key);
    if (it != sdk::State().kinds.end()) it->second->SetKindNum(kind);
}
}  // namespace sim
