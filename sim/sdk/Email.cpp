// The client's e-mail service on the SDK bus: e-mails kept per peer,
// sending, paging through them and marking them seen.
#include <map>
#include <memory>

#include "sdk/email.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sim/core/Reset.h"
#include "sim/driver.h"
#include "sim/sdk/ServiceRequests.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {

struct EmailState {
    bool available = true;
    std::map<std::string, std::vector<StoredEmail>> byPeer;
};

EmailState& State() {
    static EmailState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = EmailState{}; });

std::string Text(const char* s) { return s ? s : ""; }

// A page of e-mails as the service hands it to a completion: the texts
// stay alive until the completion returns.
struct EmailPage {
    std::vector<StoredEmail> emails;
    std::vector<SEmailItem> items;
    std::vector<const SEmailItem*> pointers;

    void Build() {
        items.reserve(emails.size());
        for (const StoredEmail& e : emails) {
            items.push_back({e.folder.c_str(), e.raw.c_str(), e.sender.c_str(), e.time});
            // An e-mail the service cannot describe comes out as a null item.
            pointers.push_back(e.folder.empty() ? nullptr : &items.back());
        }
    }
};

class EmailService final : public IEmailService {
public:
    int SendEmail(const char* receiver, const char* subject, const char* body, const char* kind, HWND window,
                  email_send_callback_t callback, void* userData) override {
        SdkRequest request;
        request.kind = "email_send";
        request.convId = Text(receiver);
        request.value = Text(subject);
        request.content = Text(body);
        request.contentType = Text(kind);
        request.result = callback ? sdk::TakeServiceRefusal(SdkCall::EmailSend) : QEL_ERR_INVALID_ARG;
        sdk::RecordRequest(request);
        if (request.result != QEL_OK) return request.result;
        // Without a receiver the e-mail goes to the peer of the window's conversation.
        const std::string peer = request.convId.empty() ? ChatWindowPeer(window) : request.convId;
        const std::optional<int> failure = sdk::TakeServiceFailure(SdkCall::EmailSend);
        if (!failure) {
            StoredEmail sent;
            sent.folder = "sent";
            sent.raw = MakeRawEmail(request.value, request.content);
            sent.sender = qel_account_get_buddy_id(CurrentAccount());
            sent.time = qel_get_adjusted_time();
            sent.seen = true;
            State().byPeer[peer].push_back(sent);
        }
        sdk::CompleteLater([=] { callback(failure.value_or(QEL_OK), window, userData); });
        return QEL_OK;
    }

    int GetMessagesP2P(const char* peerId, int64_t offset, int64_t count, int flag, HWND window,
                       email_get_messages_p2p_callback_t callback, void* userData) override {
        SdkRequest request;
        request.kind = "email_get";
        request.convId = Text(peerId);
        request.msgId = uint64_t(offset);
        request.flags = int(count);
        request.value = std::to_string(flag);
        request.result = callback ? sdk::TakeServiceRefusal(SdkCall::EmailGet) : QEL_ERR_INVALID_ARG;
        sdk::RecordRequest(request);
        if (request.result != QEL_OK) return request.result;
        const std::optional<int> failure = sdk::TakeServiceFailure(SdkCall::EmailGet);
        auto page = std::make_shared<EmailPage>();
        // The offset counts back from the newest e-mail; the page goes oldest first.
        const std::vector<StoredEmail>& all = State().byPeer[request.convId];
        const int64_t total = int64_t(all.size());
        const int64_t end = offset < 0 ? total : std::max<int64_t>(0, total - offset);
        const int64_t begin = count < 0 ? 0 : std::max<int64_t>(0, end - count);
        if (!failure) page->emails.assign(all.begin() + begin, all.begin() + end);
        sdk::CompleteLater([=] {
            page->Build();
            callback(failure.value_or(QEL_OK), page->pointers.data(), int(page->pointers.size()), flag, window,
                     userData);
        });
        return QEL_OK;
    }

    int SetSeen(const char* peerId, email_set_seen_callback_t callback, void* userData) override {
        SdkRequest request;
        request.kind = "email_seen";
        request.convId = Text(peerId);
        request.result = callback ? sdk::TakeServiceRefusal(SdkCall::EmailSeen) : QEL_ERR_INVALID_ARG;
        sdk::RecordRequest(request);
        if (request.result != QEL_OK) return request.result;
        const std::optional<int> failure = sdk::TakeServiceFailure(SdkCall::EmailSeen);
        const std::string peer = request.convId;
        sdk::CompleteLater([=] {
            if (!failure) {
                for (StoredEmail& e : State().byPeer[peer]) e.seen = true;
            }
            callback(failure.value_or(QEL_OK), userData);
        });
        return QEL_OK;
    }
};

}  // namespace

void SetEmailServiceAvailable(bool available) { State().available = available; }

void AddEmail(const std::string& peerId, const StoredEmail& email) {
    StoredEmail stored = email;
    if (stored.time == 0) stored.time = qel_get_adjusted_time();
    State().byPeer[peerId].push_back(stored);
}

std::string MakeRawEmail(const std::string& subject, const std::string& body, const std::string& contentType) {
    return "Subject: " + subject + "\r\nContent-Type: " + contentType + "\r\n\r\n" + body;
}

const std::vector<StoredEmail>& EmailsWith(const std::string& peerId) { return State().byPeer[peerId]; }

namespace sdk {

IEmailService* EmailServiceOf(qel_handle account) {
    static EmailService service;
    return AccountOf(account) && State().available ? &service : nullptr;
}

}  // namespace sdk

}  // namespace sim
