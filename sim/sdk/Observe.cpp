// What the stand-in SDK received, kept in order for the driver.
#include <variant>

#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/World.h"

namespace sim {

namespace {
struct ObserveState {
    std::vector<SdkRequest> requests;
    std::vector<SdkMark> marks;
    std::vector<AttribWrite> attribWrites;
    std::vector<PrefWrite> prefWrites;
    int prefSaves = 0;
    std::map<std::string, std::string> lastSaved;
    std::vector<std::pair<uint64_t, std::string>> extraInfoWrites;
    int serverWrites = 0;  // > 0 while the stand-in itself writes
};

ObserveState& State() {
    static ObserveState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = ObserveState{}; });

std::string PrefText(const sdk::PrefValue& value) {
    if (auto* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
    if (auto* s = std::get_if<std::u16string>(&value)) return ToUtf8(*s);
    std::string joined;
    for (const auto& item : std::get<std::vector<std::u16string>>(value)) {
        if (!joined.empty()) joined += "|";
        joined += ToUtf8(item);
    }
    return joined;
}
}  // namespace

bool PrefAsText(const std::string& key, std::string& out) {
    const sdk::Account* account = sdk::CurrentAccountObj();
    const sdk::Prefs* prefs = account ? account->prefs.get() : nullptr;
    if (!prefs) return false;
    auto it = prefs->values.find(key);
    if (it == prefs->values.end()) return false;
    out = PrefText(it->second);
    return true;
}

const std::vector<SdkRequest>& SdkRequests() { return State().requests; }

std::vector<SdkRequest> SdkRequestsOf(const std::string& kind) {
    std::vector<SdkRequest> out;
    for (const SdkRequest& r : State().requests) {
        if (r.kind == kind) out.push_back(r);
    }
    return out;
}

const std::vector<SdkMark>& SdkMarks() { return State().marks; }
const std::vector<AttribWrite>& AttribWrites() { return State().attribWrites; }
const std::vector<PrefWrite>& PrefWrites() { return State().prefWrites; }
int PrefSaveCount() { return State().prefSaves; }
const std::map<std::string, std::string>& LastSavedPrefs() { return State().lastSaved; }
const std::vector<std::pair<uint64_t, std::string>>& ExtraInfoWrites() { return State().extraInfoWrites; }

namespace sdk {

void RecordRequest(const SdkRequest& request) { State().requests.push_back(request); }

void RecordStored(size_t index) {
    if (index < State().requests.size()) State().requests[index].stored = true;
}

void RecordMark(const char* kind, const std::string& convId, uint64_t msgId, const char* reason) {
    State().marks.push_back({kind, convId, msgId, reason ? reason : ""});
}

void RecordPrefWrite(const std::string& account, const char* key, const std::string& value) {
    State().prefWrites.push_back({account, key, value});
}

void RecordPrefSave(const Prefs& prefs, int) {
    ++State().prefSaves;
    State().lastSaved.clear();
    for (const auto& [key, value] : prefs.values) State().lastSaved[key] = PrefText(value);
}

void RecordExtraInfoWrite(const std::string&, uint64_t msgId, const std::string& value) {
    State().extraInfoWrites.emplace_back(msgId, value);
}

ServerWrite::ServerWrite() { ++State().serverWrites; }
ServerWrite::~ServerWrite() { --State().serverWrites; }

void RecordAttribWrite(const Attribs& set, const char* key, const AttribValue& value, int mode) {
    if (State().serverWrites > 0) return;
    const std::string text =
        std::holds_alternative<int64_t>(value) ? std::to_string(std::get<int64_t>(value)) : std::get<std::string>(value);
    State().attribWrites.push_back({DescribeOwner(set), AttribPath(set), key, text, mode});
}

}  // namespace sdk

}  // namespace sim
