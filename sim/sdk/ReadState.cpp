// What the server keeps about reading: the partner's read cursor, the
// unread counts of receipt messages, the group-top messages the user has
// seen, last logins and birthdays. Each change reaches the client as an
// attribute change, the way the server pushes it.
#include <json/json.h>

#include <exception>
#include <memory>
#include <optional>
#include <set>

#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_grptop.h"
#include "sdk/ui/ControlUI.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {

struct ReadState {
    std::set<uint64_t> grpTopDone;              // group-top messages the user has seen or dismissed
    std::map<uint64_t, int> receiptUnread;      // the server's unread counts of receipt messages
    std::vector<std::string> grpTopRequests;
    std::optional<int> grpTopFailure;
    bool grpTopService = true;
    bool grpTopOffered = true;
};

ReadState& State() {
    static ReadState state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = ReadState{}; });

// The extra information as a JSON object; anything else reads as empty.
Json::Value ReadJson(const std::string& text) {
    Json::CharReaderBuilder builder;
    builder.strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (text.empty() || !reader->parse(text.data(), text.data() + text.size(), &root, &errors) || !root.isObject())
            return Json::Value(Json::objectValue);
    } catch (const std::exception&) {
        // Nesting past the reader's stack limit throws instead of failing.
        return Json::Value(Json::objectValue);
    }
    return root;
}

std::string WriteJson(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

int ExtraUnreadNum(const sdk::Message& msg) {
    const Json::Value root = ReadJson(msg.extraInfo);
    const Json::Value& num = root["unreadnum"];
    return num.isInt() ? num.asInt() : -1;
}

class GrpTopService final : public IQelGrpTopService {
public:
    int SetGrpTopMsgRead(const qel_handle* msgs, int count, qel_grptop_callback callback, HWND context) override {
        if (!msgs || count <= 0) return QEL_ERR_INVALID_ARG;
        std::vector<uint64_t> ids;
        for (int i = 0; i < count; ++i) {
            if (auto* m = sdk::As<sdk::Message>(msgs[i])) ids.push_back(m->id);
        }
        for (uint64_t id : ids) State().grpTopRequests.push_back("read:" + std::to_string(id));
        return Answer(ids, callback, context);
    }
    int CancelGrpTopRemind(qel_handle msg, qel_grptop_callback callback, HWND context) override {
        auto* m = sdk::As<sdk::Message>(msg);
        if (!m) return QEL_ERR_INVALID_ARG;
        State().grpTopRequests.push_back("cancel:" + std::to_string(m->id));
        return Answer({m->id}, callback, context);
    }

private:
    static int Answer(std::vector<uint64_t> ids, qel_grptop_callback callback, HWND context) {
        const int code = State().grpTopFailure.value_or(0);
        State().grpTopFailure.reset();
        Post([ids, code, callback, context] {
            if (code == 0) State().grpTopDone.insert(ids.begin(), ids.end());
            if (callback) callback(code, context);
        });
        return 0;
    }
};

}  // namespace

void ServerSetPartnerReadCursor(qel_handle conv, int64_t seq, int64_t time) {
    // The time goes first: the client reads it when the cursor changes.
    ServerSetAttrib(conv, "partner-read-cursor_time", time);
    ServerSetAttrib(conv, "partner-read-cursor", seq);
}

// The business type travels in the message's extra information.
void SetMsgBiz(qel_handle msg, const std::string& biz) {
    auto* m = sdk::As<sdk::Message>(msg);
    if (!m) return;
    Json::Value root = ReadJson(m->extraInfo);
    root["data_biz"] = biz;
    m->extraInfo = WriteJson(root);
    m->SyncData();
}

void ServerSetReceiptUnread(qel_handle msg, int count) {
    auto* m = sdk::As<sdk::Message>(msg);
    if (!m) return;
    State().receiptUnread[m->id] = count;
    Json::Value root = ReadJson(m->extraInfo);
    root["unreadnum"] = count;
    m->extraInfo = WriteJson(root);
    m->SyncData();
    ServerSetAttrib(m->conv, "receipt-unread-msgid", std::to_string(m->seq) + "-" + std::to_string(count));
}

void SetGrpTopOffered(bool offered) { State().grpTopOffered = offered; }
void SetGrpTopServiceAvailable(bool available) { State().grpTopService = available; }
void FailNextGrpTopRequest(int code) { State().grpTopFailure = code; }
const std::vector<std::string>& GrpTopRequests() { return State().grpTopRequests; }

void ServerStickGrpTop(qel_handle msg, bool stuck) {
    auto* m = sdk::As<sdk::Message>(msg);
    if (!m) return;
    const uint32_t flag = QEL_MSG_FLAG_GRP_TOP;
    SetMsgFlags(msg, stuck ? flag : 0u, stuck ? 0u : flag);
    State().grpTopDone.erase(m->id);
}

void SetLastLoginInterval(const std::string& buddyId, int64_t seconds) {
    sdk::Account* account = sdk::CurrentAccountObj();
    sdk::Buddy* buddy = account ? account->FindBuddy(buddyId) : nullptr;
    if (buddy) ServerSetAttrib(buddy, "last-login-interval", seconds);
}

void SetBirthdayInDays(const std::string& buddyId, int days) {
    sdk::Account* account = sdk::CurrentAccountObj();
    sdk::Buddy* buddy = account ? account->FindBuddy(buddyId) : nullptr;
    if (buddy) ServerSetAttrib(buddy, "birthday-in-days", days);
}

namespace sdk {

bool IsGrpTopDone(const Message& msg) { return State().grpTopDone.count(msg.id) != 0; }

bool ExtraAsksReceipt(const std::string& extraInfo) {
    const Json::Value root = ReadJson(extraInfo);
    const Json::Value& to = root["receiptto"];
    return to.isString() && !to.asString().empty();
}

// Answers a summary request the way the server does: every listed message
// whose count the client has wrong gets the server's count pushed.
void AnswerReceiptSummary(const std::vector<uint64_t>& refs) {
    Post([refs] {
        for (uint64_t ref : refs) {
            auto* m = As<Message>(FromWeakRef(ref));
            if (!m) continue;
            auto it = State().receiptUnread.find(m->id);
            if (it != State().receiptUnread.end() && ExtraUnreadNum(*m) != it->second)
                ServerSetReceiptUnread(m, it->second);
        }
    });
}

IQelGrpTopService* GrpTopServiceOf(qel_handle account) {
    static GrpTopService service;
    return AccountOf(account) && State().grpTopService ? &service : nullptr;
}

}  // namespace sdk

}  // namespace sim

namespace common {

std::u16string GetFixDateDescript(int64_t time, int) {
    // A calendar date and the time of day, as the history writes times elsewhere.
    int64_t days = time >= 0 ? time / 86400 : (time - 86399) / 86400;
    const int64_t seconds = time - days * 86400;
    // Days since 1970-01-01 to year, month and day of the proleptic Gregorian calendar.
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%04lld-%02d-%02d %02d:%02d ", static_cast<long long>(year), int(month),
                  int(day), int(seconds / 3600), int(seconds / 60 % 60));
    return sim::ToWide(buffer);
}

std::u16string GetVagueTime(int64_t interval) {
    if (interval <= 0) return u"";
    if (interval < 3600) return sim::ToWide(std::to_string(std::max<int64_t>(interval / 60, 1)) + " minutes");
    if (interval < 86400) return sim::ToWide(std::to_string(interval / 3600) + " hours");
    return sim::ToWide(std::to_string(interval / 86400) + " days");
}

// A birthday within the next three days is worth a reminder.
int GetBirthdayRemind(qel_handle buddy, int) {
    const int days = qel_attribs_get_int(buddy, "birthday-in-days", -1);
    return days >= 0 && days <= 3 ? days : -1;
}

void OpenBirthRemindURL(const char16_t* userId) {
    sim::SdkRequest request;
    request.kind = "birthday_page";
    request.value = sim::ToUtf8(userId);
    sim::sdk::RecordRequest(request);
}

bool HasGrpTopMsg() { return sim::State().grpTopOffered; }

bool HasGrpTopMsg(qel_handle conversation) {
    return sim::State().grpTopOffered && sim::sdk::As<sim::sdk::Conversation>(conversation) != nullptr;
}

std::string GetMsgDataBiz(qel_handle message) {
    auto* m = sim::sdk::As<sim::sdk::Message>(message);
    if (!m) return "";
    const Json::Value root = sim::ReadJson(m->extraInfo);
    const Json::Value& biz = root["data_biz"];
    return biz.isString() ? biz.asString() : "";
}

std::u16string GetGrpLatinName(qel_handle group, const char16_t* userId) {
    if (!userId) return u"";
    qel_handle member = qel_buddy_group_get_member_attribs(group, sim::ToUtf8(userId).c_str());
    const char* latin = qel_attribs_get_str(member, "latin-name", "");
    return *latin ? sim::ToWide(latin) : GetUserNameOnShow(userId);
}

void QelBtnSetAvatarByHandle(CControlUI* button, qel_handle buddy) {
    auto* b = sim::sdk::As<sim::sdk::Buddy>(buddy);
    if (button) button->SetAttribute(u"avatar", b ? sim::ToWide(b->id) : u"");
}

}  // namespace common
