// The host's services that the history view's context menu uses: the
// context-menu provider with one extension, the e-mail service and the
// QR-code service. Each records what it was asked in AppCalls().
#include "sim/host/HostServices.h"

#include <atomic>

#include "sdk/msg_services.h"
#include "sdk/ui/MenuUI.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

namespace sim {

namespace {

constexpr pfx::GUID kContextMenuProviderClass = pfx::MakeGuid("{1E2478F9-824B-4685-85B5-B6A220E54F04}");
constexpr int32_t kExtensionItem = 50900;

struct ServicesState {
    bool emailOffered = true;
    bool emailWarns = false;
    bool qrOffered = true;
    bool providerOffered = true;
    bool shellToSystem = false;
};

ServicesState& State() {
    static ServicesState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = ServicesState{}; });

// A host object that lives as long as the host (no count to speak of).
template <class Interface>
class HostService : public pfx::IObject, public Interface {
public:
    explicit HostService(const pfx::GUID& iid) : m_iid(iid) {}
    pfx::GUID GetClassId() const override { return m_iid; }
    int32_t Release() override { return 1; }
    int32_t AddRef() override { return 1; }
    int32_t DecRef() override { return 1; }
    bool QueryObject(const pfx::GUID& iid, void** out, int32_t) override {
        if (!out || !(iid == m_iid)) return false;
        *out = static_cast<Interface*>(this);
        return true;
    }

private:
    pfx::GUID m_iid;
};

class EmailService final : public HostService<pfx::IEmailService> {
public:
    EmailService() : HostService(pfx::kEmailServiceIid) {}
    bool CheckConversation(qel_handle, const char16_t* sessionId) override {
        RecordAppCall("email-check " + ToUtf8(sessionId ? sessionId : u""));
        return State().emailWarns;
    }
    void OpenComposer(HWND, const std::vector<uint64_t>& msgIds) override {
        std::string call = "email-composer";
        for (uint64_t id : msgIds) call += " " + std::to_string(id);
        RecordAppCall(call);
    }
};

class QrCodeService final : public HostService<pfx::IQrCodeService> {
public:
    QrCodeService() : HostService(pfx::kQrCodeServiceIid) {}
    void DecodeImage(const char16_t* path) override { RecordAppCall("qr-decode " + ToUtf8(path ? path : u"")); }
};

class TestExtension final : public pfx::IContextMenuExtension {
public:
    void AddMenuItems(CMenuUI* menu, CRichEditUI*, const std::map<std::u16string, std::u16string>& params) override {
        auto it = params.find(u"user_id");
        if (!menu || it == params.end() || it->second.empty()) return;
        menu->AddSeparator();
        menu->AddItem(kExtensionItem, u"Extension item");
    }
    bool OnMenuCommand(TNotifyUI& msg, const char* caller) override {
        const auto* item = reinterpret_cast<const TMenuItemInfo*>(msg.wParam);
        if (!item || item->nId != kExtensionItem || !caller) return false;
        RecordAppCall("extension-command " + std::to_string(item->nId));
        return true;
    }
};

// Made per panel and released by it.
class ContextMenuProvider final : public pfx::IObject, public pfx::IContextMenuProvider {
public:
    pfx::GUID GetClassId() const override { return kContextMenuProviderClass; }
    int32_t Release() override {
        const int32_t left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    int32_t AddRef() override { return ++m_refs; }
    int32_t DecRef() override { return --m_refs; }
    bool QueryObject(const pfx::GUID& iid, void** out, int32_t) override {
        if (!out || !(iid == pfx::kContextMenuProviderIid)) return false;
        *out = static_cast<pfx::IContextMenuProvider*>(this);
        return true;
    }
    int GetExtensionCount() override { return 1; }
    pfx::IContextMenuExtension* GetExtension(int index) override { return index == 0 ? &m_extension : nullptr; }

private:
    std::atomic<int32_t> m_refs{1};
    TestExtension m_extension;
};

}  // namespace

void PassShellCallsToSystem(bool pass) { State().shellToSystem = pass; }
void SetEmailServiceOffered(bool offered) { State().emailOffered = offered; }
void SetEmailCheckAnswer(bool warn) { State().emailWarns = warn; }
void SetQrCodeServiceOffered(bool offered) { State().qrOffered = offered; }
void SetContextMenuProviderOffered(bool offered) { State().providerOffered = offered; }

pfx::IObject* CreateHostObject(const pfx::GUID& classId) {
    if (!(classId == kContextMenuProviderClass) || !State().providerOffered) return nullptr;
    return new ContextMenuProvider();
}

pfx::IObject* FindHostService(const std::u16string& name) {
    static EmailService email;
    static QrCodeService qr;
    if (name == pfx::kEmailServiceName && State().emailOffered) return &email;
    if (name == pfx::kQrCodeServiceName && State().qrOffered) return &qr;
    return nullptr;
}

}  // namespace sim

bool ShellExecuteW(HWND, const char16_t* verb, const char16_t* file, const char16_t* parameters, const char16_t*,
                   int show) {
    sim::RecordAppCall("shell " + sim::ToUtf8(verb ? verb : u"") + " " + sim::ToUtf8(file ? file : u"") + " " +
                       sim::ToUtf8(parameters ? parameters : u"") + " show=" + std::to_string(show));
    if (!file) return false;
    if (!sim::State().shellToSystem) return true;
    return sim::os::ShellOpen(verb ? verb : u"", file, parameters ? parameters : u"", show);
}
