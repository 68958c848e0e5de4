// The client common library's translation service. A translation is the
// message's text in upper case, or what a test set for the message; the
// first request of a message answers later on the loop, later ones at once.
#include <algorithm>
#include <map>
#include <set>

#include "sdk/common_translate.h"
#include "sdk/display.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"

namespace sim {

namespace {

struct TranslateState {
    std::set<uint64_t> translated;
    std::set<common::ITranslationCallback*> cancelled;
    std::vector<TranslationRequest> requests;
    std::map<uint64_t, std::string> answers;  // message id -> the service's text, as it sent it
};

TranslateState& State() {
    static TranslateState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = TranslateState{}; });

std::u16string Translated(const std::u16string& text) {
    std::u16string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; });
    return out;
}

}  // namespace

const std::vector<TranslationRequest>& TranslationRequests() { return State().requests; }

void SetTranslationText(uint64_t msgId, const std::string& text) { State().answers[msgId] = text; }

namespace {
std::u16string TranslationOf(uint64_t msgId, const std::u16string& body) {
    const auto answer = State().answers.find(msgId);
    return answer == State().answers.end() ? Translated(body) : ToWide(answer->second);
}
}  // namespace

}  // namespace sim

namespace common {

int TranslationMsg(qel_handle message, SQelBoxMsg&, bool automatic, HWND, ITranslationCallback* callback) {
    const uint64_t msgId = qel_msg_get_id(message);
    if (!msgId) return -1;
    sim::State().requests.push_back({msgId, automatic});
    if (sim::State().translated.count(msgId)) return 1;
    sim::State().cancelled.erase(callback);
    const uint64_t ref = qel_object_weak_ref(message);
    sim::Post([ref, msgId, callback] {
        qel_handle answered = qel_object_from_weak_ref(ref);
        if (!answered) return;
        sim::State().translated.insert(msgId);
        if (callback && !sim::State().cancelled.count(callback)) callback->OnTranslationResult(answered, true);
    });
    return 0;
}

void CancelTranslationMsg(ITranslationCallback* callback) { sim::State().cancelled.insert(callback); }

void ShowTranslationMsg(CRichEditExUI* view, qel_handle message, int64_t shownId, const char16_t*, bool shown) {
    const _QelMsgData* data = qel_msg_get_data(message);
    CHARRANGE range;
    if (!view || !data || !view->GetMsgRange(shownId, range)) return;
    const std::u16string body =
        sim::ContentText(data->content_type ? data->content_type : "", data->content ? data->content : "");
    std::u16string text = sim::ToWide(data->sender_id ? data->sender_id : "") + u": " + body;
    if (shown) text += u" => " + sim::TranslationOf(qel_msg_get_id(message), body);
    view->DeleteMsg(shownId);
    CREidtInsertHelper helper(view);
    helper.BeginInsert(shownId, range.cpMin, EMsgKind::Msg);
    helper.InsertText(text + u"\r");
    helper.EndInsert();
}

}  // namespace common
