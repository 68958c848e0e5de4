// The host's ad-hoc sender, the usage reports of the application object,
// buddies' presence and the clocks and script helpers of the client's
// common library.
#include <atomic>
#include <map>

#include "sdk/adhoc.h"
#include "sdk/common_status.h"
#include "sdk/qel_account.h"
#include "sim/core/Reset.h"
#include "sim/driver.h"
#include "sim/host/HostServices.h"
#include "sim/sdk/ServiceRequests.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {

struct ServiceState {
    bool adhocAvailable = true;
    std::map<std::string, int> presence;
    std::vector<std::string> usage;
};

ServiceState& State() {
    static ServiceState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = ServiceState{}; });

std::string Text(const char* s) { return s ? s : ""; }

class AdhocSender final : public IAdhocSender {
public:
    pfx::GUID GetClassId() const override { return kAdhocSenderId; }
    int32_t Release() override {
        const int32_t count = --m_count;
        if (count == 0) delete this;
        return count;
    }
    bool QueryObject(const pfx::GUID&, void**, int32_t) override { return false; }
    int32_t AddRef() override { return ++m_count; }
    int32_t DecRef() override { return --m_count; }

    int SendAdhocMsg(const char* contentType, const char* body, const char* summary, HWND window) override {
        SdkRequest request;
        request.kind = "adhoc";
        request.convId = ChatWindowPeer(window);
        request.contentType = Text(contentType);
        request.content = Text(body);
        request.summary = Text(summary);
        request.result = sdk::TakeServiceRefusal(SdkCall::Adhoc);
        sdk::RecordRequest(request);
        return request.result;
    }

private:
    std::atomic<int32_t> m_count{1};
};

}  // namespace

bool CreateHostService(pfx::IObject** out, const pfx::GUID& classId) {
    if (!out || classId != kAdhocSenderId || !State().adhocAvailable) return false;
    *out = new AdhocSender();
    return true;
}

void SetAdhocSenderAvailable(bool available) { State().adhocAvailable = available; }
void SetPresence(const std::string& buddyId, int statusType) { State().presence[buddyId] = statusType; }
void ClearPresence(const std::string& buddyId) { State().presence.erase(buddyId); }
const std::vector<std::string>& UsageReports() { return State().usage; }

void RecordUsageReport(const char* event, const char* action) {
    State().usage.push_back(Text(event) + ":" + Text(action));
}

}  // namespace sim

namespace common {

bool HasPresence(qel_handle buddy) {
    const char* id = buddy ? qel_buddy_get_id(buddy) : nullptr;
    return id && sim::State().presence.count(id) != 0;
}

int GetStatusType(qel_handle buddy, qel_handle) {
    const char* id = buddy ? qel_buddy_get_id(buddy) : nullptr;
    auto it = id ? sim::State().presence.find(id) : sim::State().presence.end();
    return it == sim::State().presence.end() ? 0 : it->second;
}

// The client here is set up for one script only: texts stay as they are.
std::u16string TryTransToFT(const std::u16string& text) { return text; }

}  // namespace common

int64_t CrtTime() { return sim::kEpochSeconds + int64_t(sim::NowMs() / 1000); }
