// The client's application object.
#include "sdk/host.h"
#include "sim/core/Reset.h"
#include "sim/driver.h"
#include "sim/sdk/ChatWnd.h"

namespace sim {

namespace {
struct AppState {
    qel::IQelInst* current = nullptr;
};
AppState& State() {
    static AppState state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = AppState{}; });

class AppMain final : public IAppMain {
public:
    qel::IQelInst* GetCurQelInst() override { return State().current; }
    IChatWndObj* GetChatWndObj(const pfx::GUID& windowKey) override { return sdk::FindChatWndObj(windowKey); }
    IChatWndType* GetChatWndType(const pfx::GUID& windowKey) override { return sdk::FindChatWndType(windowKey); }
};
}  // namespace

void SetCurrentQelInst(qel::IQelInst* inst) { State().current = inst; }

}  // namespace sim

IAppMain* GetAppMain() {
    static sim::AppMain app;
    return &app;
}
