// Requests whose answers come later: sending, uploading, recalling and
// conversation information. Each answers at once whether it was taken;
// the completion runs on a later turn of the loop, or waits while the
// driver holds completions. Completions are always delivered, so that
// the caller's user data is released, even when the conversation is gone.
#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/sdk/World.h"
#include "sim/core/Text.h"
#include "sim/host/PicturesDriver.h"

namespace sim {

namespace {

struct Failure {
    int code = 0;
    bool withMsgId = false;
};

struct Refusal {
    int code = 0;
    int skip = 0;  // requests still let through before the refusal
};

struct RequestState {
    std::map<SdkCall, Refusal> refuse;
    std::map<SdkCall, Failure> fail;
    bool hold = false;
    std::deque<std::function<void()>> held;
    std::map<std::string, std::string> uploadKeys;
    bool nextPendingWithoutId = false;
    std::map<SdkCall, std::deque<int>> planned;
};

RequestState& State() {
    static RequestState state;
    return state;
}

const bool kRegistered = RegisterReset([] {
    auto old = std::move(State().held);
    State() = RequestState{};
});

std::optional<int> TakeRefusal(SdkCall call) {
    auto it = State().refuse.find(call);
    if (it == State().refuse.end()) return std::nullopt;
    if (it->second.skip > 0) {
        --it->second.skip;
        return std::nullopt;
    }
    const int code = it->second.code;
    State().refuse.erase(it);
    return code;
}

std::optional<Failure> TakeFailure(SdkCall call) {
    auto plan = State().planned.find(call);
    if (plan != State().planned.end() && !plan->second.empty()) {
        const int code = plan->second.front();
        plan->second.pop_front();
        if (code != QEL_OK) return Failure{code, false};
        return std::nullopt;
    }
    auto it = State().fail.find(call);
    if (it == State().fail.end()) return std::nullopt;
    const Failure f = it->second;
    State().fail.erase(it);
    return f;
}

void Complete(std::function<void()> completion) {
    if (State().hold) {
        State().held.push_back(std::move(completion));
        return;
    }
    Post(std::move(completion));
}

// The checks every request makes before it is taken.
int Admit(sdk::Conversation* conv, SdkCall call) {
    if (!conv) return QEL_ERR_INVALID_ARG;
    if (!conv->account->loggedIn) return QEL_ERR_NOT_LOGGED_IN;
    return TakeRefusal(call).value_or(QEL_OK);
}

struct Outgoing {
    std::string contentType, contentAt, content, summary, extraInfo, clientTag;
    int64_t time = 0;
    uint64_t replaces = 0;  // the old message of a re-send
};

// Stores the sent message (or the failed one) and calls the completion.
void FinishSend(uint64_t convRef, const Outgoing& out, std::optional<Failure> failure, size_t requestIndex,
                qel_send_msg_callback callback, void* userData) {
    auto* conv = sdk::As<sdk::Conversation>(sdk::FromWeakRef(convRef));
    if (!conv) {
        callback(QEL_ERR_CONV_GONE, userData, 0, out.replaces);
        return;
    }
    _QelMsgData data{};
    data.time = out.time;
    data.extra_info = out.extraInfo.c_str();
    data.client_tag = out.clientTag.c_str();
    data.content_type = out.contentType.c_str();
    data.content = out.content.c_str();
    data.summary = out.summary.c_str();
    if (failure) {
        uint64_t id = 0;
        if (failure->withMsgId) {
            const uint32_t flags = QEL_MSG_FLAG_SENT | QEL_MSG_FLAG_SEND_FAIL;
            id = sdk::StoreOutgoing(*conv, data, flags, out.replaces)->id;
        }
        callback(failure->code, userData, id, out.replaces);
        return;
    }
    if (out.replaces) conv->Remove(out.replaces);
    const uint64_t id = sdk::StoreOutgoing(*conv, data, QEL_MSG_FLAG_SENT, 0)->id;
    sdk::RecordStored(requestIndex);
    callback(QEL_OK, userData, id, out.replaces);
}

int RequestSend(SdkRequest request, sdk::Conversation* conv, Outgoing out, qel_send_msg_callback callback,
                void* userData) {
    request.convId = conv ? conv->id : "";
    request.result = callback ? Admit(conv, SdkCall::Send) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    if (out.time == 0) out.time = qel_get_adjusted_time();
    const uint64_t convRef = sdk::WeakRef(conv);
    const std::optional<Failure> failure = TakeFailure(SdkCall::Send);
    const size_t requestIndex = SdkRequests().size() - 1;
    Complete([=] { FinishSend(convRef, out, failure, requestIndex, callback, userData); });
    return QEL_OK;
}

std::string Text(const char* s) { return s ? s : ""; }

}  // namespace

void RefuseNext(SdkCall call, int code, int skip) { State().refuse[call] = Refusal{code, skip}; }
void FailNext(SdkCall call, int code, bool withMsgId) { State().fail[call] = {code, withMsgId}; }
void HoldCompletions(bool hold) { State().hold = hold; }

void ReleaseCompletions() {
    auto held = std::move(State().held);
    State().held.clear();
    for (auto& completion : held) Post(std::move(completion));
}

size_t HeldCompletions() { return State().held.size(); }

void PlanOutcomes(SdkCall call, const std::vector<int>& codes) {
    State().planned[call].assign(codes.begin(), codes.end());
}

void ReleaseCompletion(size_t index) {
    auto& held = State().held;
    if (index >= held.size()) return;
    auto completion = std::move(held[index]);
    held.erase(held.begin() + std::ptrdiff_t(index));
    Post(std::move(completion));
}
void SetUploadKey(const std::string& cacheName, const std::string& key) { State().uploadKeys[cacheName] = key; }

void StoreNextPendingWithoutId() { State().nextPendingWithoutId = true; }

namespace sdk {
bool TakePendingWithoutId() { return std::exchange(State().nextPendingWithoutId, false); }
}  // namespace sdk

namespace sdk {

int AdmitRequest(Conversation* conv, SdkCall call) { return Admit(conv, call); }
std::optional<int> TakeFailureCode(SdkCall call) {
    const std::optional<Failure> failure = TakeFailure(call);
    return failure ? std::optional<int>(failure->code) : std::nullopt;
}
void CompleteLater(std::function<void()> completion) { Complete(std::move(completion)); }

Message* StoreOutgoing(Conversation& conv, const _QelMsgData& data, uint32_t flags, uint64_t id) {
    auto msg = std::make_unique<Message>(&conv);
    msg->id = id;
    msg->flags = flags;
    msg->sender = conv.account->buddyId;
    msg->time = data.time ? data.time : qel_get_adjusted_time();
    msg->extraInfo = Text(data.extra_info);
    msg->clientTag = Text(data.client_tag);
    msg->contentType = Text(data.content_type);
    msg->content = Text(data.content);
    msg->summary = Text(data.summary);
    msg->type = data.type;
    if (ExtraAsksReceipt(msg->extraInfo)) msg->flags |= QEL_MSG_FLAG_RECEIPT;
    return conv.Add(std::move(msg));
}

}  // namespace sdk

}  // namespace sim

using namespace sim;

extern "C" int qel_conversation_request_send_chat_message(qel_handle conv, int flags, const char* contentType,
                                                          const char* contentAt, const char* content,
                                                          const char* summary, qel_send_msg_callback callback,
                                                          void* userData) {
    Outgoing out{Text(contentType), Text(contentAt), Text(content), Text(summary), "", "", 0, 0};
    SdkRequest request;
    request.kind = "send";
    request.flags = flags;
    request.contentType = out.contentType;
    request.contentAt = out.contentAt;
    request.content = out.content;
    request.summary = out.summary;
    return RequestSend(request, sdk::As<sdk::Conversation>(conv), out, callback, userData);
}

extern "C" int qel_conversation_request_recall_message(qel_handle conv, qel_handle msg, qel_request_callback callback,
                                                       void* userData) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    auto* m = sdk::As<sdk::Message>(msg);
    SdkRequest request;
    request.kind = "recall";
    request.convId = c ? c->id : "";
    request.msgId = m ? m->id : 0;
    request.result = callback && m && m->conv == c ? Admit(c, SdkCall::Recall) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    const uint64_t msgRef = sdk::WeakRef(m);
    const std::optional<Failure> failure = TakeFailure(SdkCall::Recall);
    Complete([=] {
        auto* recalled = sdk::As<sdk::Message>(sdk::FromWeakRef(msgRef));
        if (failure || !recalled) {
            callback(failure ? failure->code : QEL_ERR_MSG_NOT_FOUND, userData);
            return;
        }
        RecallStoredMsg(recalled, recalled->conv->account->buddyId);
        callback(QEL_OK, userData);
    });
    return QEL_OK;
}

extern "C" int qel_conversation_request_conv_info(qel_handle conv, const char* svrConvId,
                                                  qel_request_callback callback, void* userData) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    SdkRequest request;
    request.kind = "conv_info";
    request.convId = c ? c->id : "";
    request.value = Text(svrConvId);
    request.result = callback ? Admit(c, SdkCall::ConvInfo) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    const std::optional<Failure> failure = TakeFailure(SdkCall::ConvInfo);
    const uint64_t convRef = sdk::WeakRef(c);
    Complete([=] {
        const int code = failure ? failure->code : sdk::FromWeakRef(convRef) ? QEL_OK : QEL_ERR_CONV_GONE;
        callback(code, userData);
    });
    return QEL_OK;
}

namespace qel_ext {

int QelConversationRequestSendChatMessage(qel_handle conv, qel_handle accountOrOldMsg, const _QelMsgData* data,
                                          const char* contentAt, qel_send_msg_callback callback, void* userData) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    auto* old = sdk::As<sdk::Message>(accountOrOldMsg);
    const bool hasData = data && data->content_type && *data->content_type;
    Outgoing out;
    if (old) out = {old->contentType, "", old->content, old->summary, old->extraInfo, old->clientTag, 0, old->id};
    if (hasData) {
        out = {Text(data->content_type), "", Text(data->content), Text(data->summary), Text(data->extra_info),
               Text(data->client_tag), data->time, out.replaces};
    }
    out.contentAt = Text(contentAt);
    // A re-send names a message of this conversation; a new send needs data.
    const bool valid = old ? old->conv == c : hasData && sdk::As<sdk::Account>(accountOrOldMsg);
    SdkRequest request;
    request.kind = "send_ext";
    request.contentType = out.contentType;
    request.contentAt = out.contentAt;
    request.content = out.content;
    request.summary = out.summary;
    request.extraInfo = out.extraInfo;
    request.clientTag = out.clientTag;
    request.msgId = out.replaces;
    return RequestSend(request, valid ? c : nullptr, out, callback, userData);
}

int QelConversationRequestUploadAttachment(qel_handle conv, const char* type, const char* cacheName,
                                           const char* localPath, qel_upload_callback callback, void* userData) {
    auto* c = sdk::As<sdk::Conversation>(conv);
    SdkRequest request;
    request.kind = "upload";
    request.convId = c ? c->id : "";
    request.fileType = Text(type);
    request.cacheName = Text(cacheName);
    request.localPath = Text(localPath);
    const bool valid = callback && !request.cacheName.empty();
    request.result = valid ? Admit(c, SdkCall::Upload) : QEL_ERR_INVALID_ARG;
    sdk::RecordRequest(request);
    if (request.result != QEL_OK) return request.result;
    const std::optional<Failure> failure = TakeFailure(SdkCall::Upload);
    auto keyIt = State().uploadKeys.find(request.cacheName);
    const std::string key = keyIt != State().uploadKeys.end() ? keyIt->second : "key-" + request.cacheName;
    const std::string name = request.cacheName;
    // The server gives the picture back to whoever downloads it by its key.
    if (!failure) ServePicture(key, ToWide(request.localPath));
    const uint64_t convRef = sdk::WeakRef(c);
    Complete([=] {
        const int code = failure ? failure->code : sdk::FromWeakRef(convRef) ? QEL_OK : QEL_ERR_CONV_GONE;
        callback(code, userData, name.c_str(), code == QEL_OK ? key.c_str() : "");
    });
    return QEL_OK;
}

}  // namespace qel_ext

// ---- the same rules for the services of the bus and the host ----
namespace sim::sdk {

int TakeServiceRefusal(SdkCall call) { return TakeRefusal(call).value_or(QEL_OK); }

}  // namespace sim::sdk
