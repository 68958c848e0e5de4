// The account's service bus: one object that hands each request to the
// part of the stand-in that serves it.
#include "sdk/qel_bus.h"
#include "sim/sdk/ServiceRequests.h"
#include "sim/sdk/World.h"

namespace sim::sdk {

namespace {

class BusService final : public IQelBusService {
public:
    BusService(IEmailService& email, IQelGrpTopService& grpTop) : m_email(email), m_grpTop(grpTop) {}

    int SendEmail(const char* receiver, const char* subject, const char* body, const char* kind, HWND window,
                  email_send_callback_t callback, void* userData) override {
        return m_email.SendEmail(receiver, subject, body, kind, window, callback, userData);
    }
    int GetMessagesP2P(const char* peerId, int64_t offset, int64_t count, int flag, HWND window,
                       email_get_messages_p2p_callback_t callback, void* userData) override {
        return m_email.GetMessagesP2P(peerId, offset, count, flag, window, callback, userData);
    }
    int SetSeen(const char* peerId, email_set_seen_callback_t callback, void* userData) override {
        return m_email.SetSeen(peerId, callback, userData);
    }
    int SetGrpTopMsgRead(const qel_handle* msgs, int count, qel_grptop_callback callback, HWND context) override {
        return m_grpTop.SetGrpTopMsgRead(msgs, count, callback, context);
    }
    int CancelGrpTopRemind(qel_handle msg, qel_grptop_callback callback, HWND context) override {
        return m_grpTop.CancelGrpTopRemind(msg, callback, context);
    }

private:
    IEmailService& m_email;
    IQelGrpTopService& m_grpTop;
};

}  // namespace

IQelBusService* BusServiceOf(qel_handle account) {
    IEmailService* email = EmailServiceOf(account);
    IQelGrpTopService* grpTop = GrpTopServiceOf(account);
    if (!email || !grpTop) return nullptr;
    static BusService bus(*email, *grpTop);
    return &bus;
}

}  // namespace sim::sdk
