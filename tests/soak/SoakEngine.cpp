#include "SoakEngine.h"
#include "SoakWindows.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "component/TaviImpl.h"
#include "module/DllObject.h"
#include "module/Guids.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/PictureInput.h"
#include "msghandle/SendState.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"

namespace soak {

namespace {

// The text as the checks compare it: objects and what stands for them left
// out (a smiley kept in a draft comes back as its text).
std::u16string Letters(std::u16string text) {
    for (size_t at = text.find(u"[smile]"); at != std::u16string::npos; at = text.find(u"[smile]")) {
        text.erase(at, 7);
    }
    std::u16string kept;
    for (char16_t c : text) {
        if (c < 0x80 && c != u'\r' && c != u'\n') kept += c;
    }
    return kept;
}

// What a sent message says: its summary, or its content when it has none
// (messages other modules send come without one).
std::string TextOf(const std::string& summary, const std::string& content) {
    return summary.empty() ? content : summary;
}
std::string TextOf(const char* summary, const char* content) {
    return TextOf(std::string(summary ? summary : ""), std::string(content ? content : ""));
}

// Where the next message's start marker ("[m" digits "[") begins.
size_t NextStart(const std::u16string& text, size_t from) {
    for (size_t at = text.find(u"[m", from); at != std::u16string::npos; at = text.find(u"[m", at + 1)) {
        size_t end = at + 2;
        while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') ++end;
        if (end > at + 2 && end < text.size() && text[end] == u'[') return at;
    }
    return std::u16string::npos;
}

std::u16string Filler(Engine& engine, size_t length) {
    std::u16string text;
    for (size_t i = 0; i < length; ++i) text += char16_t(u'a' + engine.Below(26));
    return text;
}

std::vector<Action> BaseActions() {
    const auto chat = [](void (*act)(Engine&, Engine::Chat&)) {
        return [act](Engine& e) { act(e, e.AnyChat()); };
    };
    const auto code = [](Engine& e) {
        static const int codes[] = {-998, -9979, -5, -7};
        return codes[e.Below(4)];
    };
    return {
        {"open", 6, chat([](Engine& e, Engine::Chat& c) { e.OpenWindow(c); })},
        {"close", 5, chat([](Engine& e, Engine::Chat& c) { e.CloseWindow(c); })},
        {"type short", 25, chat([](Engine& e, Engine::Chat& c) { e.Type(c, Filler(e, size_t(1 + e.Below(40)))); })},
        {"type long", 4, chat([](Engine& e, Engine::Chat& c) { e.Type(c, Filler(e, size_t(1000 + e.Below(2200)))); })},
        {"emoji", 3, chat([](Engine& e, Engine::Chat& c) {
             if (e.Below(2)) {
                 e.Type(c, u"\U0001F600");
             } else {
                 e.AddObject(c, 2, u"1f600");
             }
         })},
        {"smiley", 3, chat([](Engine& e, Engine::Chat& c) { e.AddObject(c, 1, u"smile"); })},
        {"picture", 3, chat([](Engine& e, Engine::Chat& c) { e.AddPicture(c); })},
        {"send by button", 12, chat([](Engine& e, Engine::Chat& c) { e.Send(c, false); })},
        {"send by Enter", 8, chat([](Engine& e, Engine::Chat& c) { e.Send(c, true); })},
        {"receive", 10, chat([](Engine& e, Engine::Chat& c) { e.Receive(c); })},
        {"log out and in", 1, [](Engine& e) { e.LogoutAndIn(); }},
        {"send offline", 2, chat([](Engine& e, Engine::Chat& c) { e.SendOffline(c); })},
        {"refuse send", 3, [code](Engine& e) {
             sim::RefuseNext(sim::SdkCall::Send, code(e));
             e.Fault("refused send");
         }},
        {"fail send", 3, [code](Engine& e) {
             const bool withId = e.Below(2);
             sim::FailNext(sim::SdkCall::Send, code(e), withId);
             e.Fault(withId ? "failed completion (stored)" : "failed completion");
         }},
        {"fail upload", 2, [code](Engine& e) {
             sim::FailNext(sim::SdkCall::Upload, code(e));
             e.Fault("failed upload");
         }},
        {"refuse upload", 1, [code](Engine& e) {
             sim::RefuseNext(sim::SdkCall::Upload, code(e));
             e.Fault("refused upload");
         }},
        {"hold completions", 3, [](Engine& e) {
             e.HoldCompletions(true);
             e.Fault("held completions");
         }},
        {"release completions", 4, [](Engine& e) {
             e.HoldCompletions(false);
             sim::ReleaseCompletions();
         }},
    };
}

}  // namespace

Engine::Engine(uint64_t seed, std::vector<Action> actions, std::ostream* trace)
    : m_state(seed * 2 + 1), m_actions(BaseActions()), m_trace(trace) {
    const std::vector<Action> features = FeatureActions();
    m_actions.insert(m_actions.end(), features.begin(), features.end());
    m_actions.insert(m_actions.end(), actions.begin(), actions.end());
    for (const Action& action : m_actions) m_totalWeight += action.weight;
    m_dir = (std::filesystem::temp_directory_path() /
             ("tavi-soak-" + std::to_string(::getpid()) + "-" + std::to_string(seed)))
                .string();
    std::filesystem::create_directories(m_dir);

    sim::ResetAll();
    m_module = CreateDllObj(u"tavi");
    sim::AddModule(m_module);
    m_module->Init(sim::GetHost());
    sim::AddAccount("me");
    sim::SetPrefInt("SystemInfo.HotKey.Enter", 1);
    sim::SetHisShowNum(60);
    for (const char* buddy : {"bob", "carol", "dave"}) {
        sim::AddBuddy(buddy, buddy);
        sim::OpenConversation(buddy);
        Chat chat;
        chat.peer = buddy;
        m_chats.push_back(chat);
    }
    sim::AddBuddy(kEmailPeer, kEmailPeer);
    sim::OpenConversation(kEmailPeer);
    sim::StoredEmail first;
    first.raw = sim::MakeRawEmail("Plans", "hello");
    sim::AddEmail(kEmailPeer, first);
    m_email.peer = kEmailPeer;
    for (const char* group : {"g1", "g2"}) {
        sim::AddGroup(group);
        sim::AddGroupMember(group, "bob");
        sim::AddGroupMember(group, "carol");
        sim::OpenConversation(group, true);
        Chat chat;
        chat.peer = group;
        chat.group = true;
        m_chats.push_back(chat);
    }
}

Engine::~Engine() {
    for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    m_module->Uninit();
    sim::RemoveModule(m_module);
    m_module->Release();
    sim::ResetAll();
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

uint64_t Engine::Next() {
    // xorshift64*: small, fast and the same everywhere.
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return (m_state * 0x2545F4914F6CDD1DULL) >> 11;
}

void Engine::Step() {
    int pick = Below(m_totalWeight);
    m_actedOn.clear();
    for (const Action& action : m_actions) {
        if (pick < action.weight) {
            action.run(*this);
            Settle();
            if (m_trace) Trace(action.name);
            break;
        }
        pick -= action.weight;
    }
    ++m_result.counts.actions;
}

void Engine::Trace(const std::string& action) {
    *m_trace << m_result.counts.actions << " " << action << (m_actedOn.empty() ? "" : " " + m_actedOn) << "\n";
    const auto& requests = sim::SdkRequests();
    for (; m_requestsTraced < requests.size(); ++m_requestsTraced) {
        const sim::SdkRequest& request = requests[m_requestsTraced];
        const std::string text = TextOf(request.summary, request.content);
        *m_trace << "  request " << m_requestsTraced << " " << request.kind << " " << request.convId << " result "
                 << request.result << " msg " << request.msgId << " \"" << text.substr(0, 24)
                 << (text.size() > 48 ? "…" + text.substr(text.size() - 24) : text.size() > 24 ? text.substr(24) : "")
                 << "\"\n";
    }
}

void Engine::OpenWindow(Chat& chat) {
    if (chat.window) return;
    chat.window = sim::OpenChatWindow(chat.group ? sim::ChatKind::Group : sim::ChatKind::Person, chat.peer);
    sim::RunUntilIdle();
    if (!Component(chat)) {
        Problem("the window of " + chat.peer + " did not open");
        chat.window = nullptr;
        return;
    }
    CheckDraft(chat);
}

void Engine::CheckDraft(Chat& chat) {
    const std::u16string shown = Letters(Input(chat)->GetText());
    const std::u16string expected = Letters(chat.typed);
    if (shown != expected) {
        Problem("the input of " + chat.peer + " holds \"" + Narrow(shown.substr(0, 60)) + "\" instead of \"" +
                Narrow(expected.substr(0, 60)) + "\"");
        // Go on from what the user sees.
        chat.typed = Input(chat)->GetText();
        if (chat.typed.empty()) chat.open = -1;
    }
    if (chat.draftExpected) ++m_result.counts.draftsChecked;
    chat.draftExpected = false;
}

void Engine::CloseWindow(Chat& chat) {
    if (!chat.window) return;
    chat.draftExpected = !Letters(chat.typed).empty();
    sim::CloseChatWindow(Hwnd(chat));
    chat.window = nullptr;
}

void Engine::StartMessage(Chat& chat) {
    OpenWindow(chat);
    if (chat.open >= 0 || !chat.window) return;
    chat.open = int(NewMessage(chat));
    const Message& message = m_messages.back();
    Input(chat)->InsertText(message.start);
    chat.typed += message.start;
}

size_t Engine::NewMessage(Chat& chat) {
    Message message;
    message.chat = size_t(&chat - m_chats.data());
    const std::u16string number = sim::ToWide(std::to_string(m_messages.size()));
    message.start = u"[m" + number + u"[";
    message.end = u"]m" + number + u"]";
    m_messages.push_back(message);
    return m_messages.size() - 1;
}

void Engine::Type(Chat& chat, const std::u16string& text) {
    StartMessage(chat);
    if (!chat.window) return;
    Input(chat)->InsertText(text);
    chat.typed += text;
}

void Engine::AddObject(Chat& chat, int imageType, const std::u16string& key) {
    StartMessage(chat);
    if (!chat.window) return;
    auto* object = new COleImageObj();
    object->SetImageType(imageType);
    object->SetKey(key);
    if (!Input(chat)->InsertObject(object)) Problem("an emoticon could not be inserted");
}

void Engine::AddPicture(Chat& chat) {
    StartMessage(chat);
    if (!chat.window) return;
    // A PNG header of its own size, so that every picture is a new file.
    const uint32_t side = uint32_t(2 + m_pictures++);
    std::string data("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {side, side}) {
        for (int shift = 24; shift >= 0; shift -= 8) data += char((v >> shift) & 0xFF);
    }
    data += std::string("\x08\x06\0\0\0", 5);
    const std::string path = m_dir + "/p" + std::to_string(side) + ".png";
    std::ofstream(path, std::ios::binary) << data;
    if (!tavi::RichEditLoadImage(sim::ToWide(path).c_str(), Input(chat))) Problem("a picture could not be inserted");
}

bool Engine::Message::ShownUnder(int64_t id) const {
    if (firstShown <= endShown) return id >= firstShown && id < endShown;
    return (id >= firstShown && id <= tavi::kLastProvisionalMsgIdBeforeWrap) ||
           (id >= tavi::kProvisionalMsgIdAfterWrap && id < endShown);
}

void Engine::Send(Chat& chat, bool byEnter) {
    if (chat.open < 0) return;
    OpenWindow(chat);
    if (!chat.window) return;
    Message& message = m_messages[size_t(chat.open)];
    Input(chat)->InsertText(message.end);
    chat.typed += message.end;
    message.firstShown = tavi::PeekProvisionalMsgId();
    message.sentAs = m_sends++;
    if (byEnter) {
        sim::PressEnter(Input(chat));
    } else {
        sim::Click(sim::FindControl(Component(chat)->GetPanel(), "input.msg_button.sendmsg"));
    }
    message.endShown = tavi::PeekProvisionalMsgId();
    sim::RunUntilIdle();
    if (!chat.window) return;
    const std::u16string left = Input(chat)->GetText();
    size_t bubbles = 0;
    for (const sim::ViewItem& item : sim::ViewItems(View(chat))) {
        bubbles += item.kind == "msg" && message.ShownUnder(item.id);
    }
    if (left.find(message.start) != std::u16string::npos) {
        // Refused before any bubble: the text must be kept whole, and the
        // user starts over.
        if (Letters(left) != Letters(chat.typed)) {
            Problem("a refused send changed the input of " + chat.peer);
        }
        if (bubbles) Problem("the send of " + Narrow(message.start) + " kept in the input also showed bubbles");
        message.keptInInput = true;
        ++m_result.counts.keptInInput;
        Input(chat)->Clear();
    } else {
        if (!bubbles) Problem("message " + Narrow(message.start) + " left the input without a bubble");
        ++m_result.counts.messagesSent;
    }
    chat.typed.clear();
    chat.open = -1;
}

void Engine::SendOffline(Chat& chat) {
    Type(chat, u"offline");
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    const int index = chat.open;
    Send(chat, false);
    sim::SetLoggedIn(sim::CurrentAccount(), true);
    Fault("offline send");
    if (index >= 0 && !m_messages[size_t(index)].keptInInput) Problem("a send while offline left the input");
}

void Engine::Receive(Chat& chat) {
    const std::string text = "[i" + std::to_string(m_received++) + "]";
    const uint64_t id = qel_msg_get_id(sim::DeliverIncomingMsg(Conversation(chat), text, "text/plain",
                                                               chat.group ? "bob" : ""));
    if (!chat.window) return;
    Component(chat)->GetAndShowMsg(int32_t(id), 0);
    sim::RunUntilIdle();
    m_incoming[int64_t(id)] = size_t(&chat - m_chats.data());
    size_t shown = 0;
    for (const sim::ViewItem& item : sim::ViewItems(View(chat))) {
        shown += item.id == int64_t(id) && Narrow(item.text).find(text) != std::string::npos;
    }
    if (shown != 1) Problem("incoming " + text + " in " + chat.peer + " shown " + std::to_string(shown) + " times");
    ++m_result.counts.incomingShown;
}

void Engine::LogoutAndIn() {
    m_module->OnObjMsg(tavi::kMsgPreLogout, 0, 0, nullptr);
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    for (Chat& chat : m_chats) CloseWindow(chat);
    if (m_email.window) sim::CloseChatWindow(Hwnd(m_email));
    m_email.window = nullptr;
    sim::RunUntilIdle();
    sim::SetLoggedIn(sim::CurrentAccount(), true);
    Fault("logout");
}

void Engine::Settle() {
    sim::RunUntilIdle();
    const auto& marks = sim::FailMarks();
    for (; m_marksSeen < marks.size(); ++m_marksSeen) {
        const int64_t id = marks[m_marksSeen].shownId;
        auto message = std::find_if(m_messages.begin(), m_messages.end(),
                                    [id](const Message& m) { return m.ShownUnder(id); });
        if (message == m_messages.end()) {
            Problem("a bubble no send showed was marked failed: " + std::to_string(id));
            continue;
        }
        const Chat& chat = m_chats[message->chat];
        bool shown = false;
        if (chat.window) {
            for (const sim::ViewItem& item : sim::ViewItems(View(chat))) shown |= item.id == id && !item.text.empty();
        }
        if (!shown) Problem("the failed bubble " + std::to_string(id) + " of " + chat.peer + " is not shown");
        if (!message->failedShown) ++m_result.counts.failedAndKept;
        message->failedShown = true;
    }
}

// A send that failed while its window was closed is told in a tip; what
// of it did not reach the SDK must be kept in records marked failed, which
// the history shows, and offers to send again, when the chat opens again.
bool Engine::KeptInRecords(const Message& message, const std::u16string& accepted) {
    qel_cxx_helper::HandleArray records;
    if (qel_conversation_get_page_record(Conversation(m_chats[message.chat]), 0, UINT64_MAX, 0, 1 << 30, 1,
                                         records.out_list(), records.out_count(), 0) != 0) {
        return false;
    }
    // A marker cut between two pieces that both failed is split over two
    // records; the page lists them newest first, so read them both ways.
    // One cut between a failed piece and a piece that went is read across
    // all the user's records, oldest first, the order the pieces went in.
    std::u16string newestFirst, oldestFirst, ownOldestFirst;
    for (int i = 0; i < records.count(); ++i) {
        const _QelMsgData* data = qel_msg_get_data(records[i]);
        if (!data || !(qel_msg_get_flag(records[i]) & QEL_MSG_FLAG_SENT)) continue;
        const std::u16string text = sim::ToWide(TextOf(data->summary, data->content));
        ownOldestFirst.insert(0, text);
        if (!qel_ext::QelMsgIsSendFail(records[i])) continue;
        newestFirst += text;
        oldestFirst.insert(0, text);
    }
    for (const std::u16string* marker : {&message.start, &message.end}) {
        const auto holds = [marker](const std::u16string& text) { return text.find(*marker) != std::u16string::npos; };
        if (!holds(accepted) && !holds(newestFirst) && !holds(oldestFirst) && !holds(ownOldestFirst)) return false;
    }
    ++m_result.counts.failedAndKept;
    ++m_result.counts.failedWhileClosed;
    return true;
}

void Engine::CheckSent() {
    // What the SDK took, per conversation, in the order taken.
    // What the SDK kept as sent, per conversation, in the order taken; the
    // resends of failed pieces apart, as they go whenever the user asks.
    std::map<std::string, std::u16string> taken, resent;
    const auto& requests = sim::SdkRequests();
    for (size_t i = 0; i < requests.size(); ++i) {
        const sim::SdkRequest& request = requests[i];
        if (request.kind != "send" && request.kind != "send_ext") continue;
        if (request.result == 0) ++m_result.counts.piecesAccepted;
        if (!request.stored) continue;
        (m_resendRequests.count(i) ? resent : taken)[request.convId] +=
            sim::ToWide(TextOf(request.summary, request.content));
    }
    std::map<std::string, size_t> chatOfConv;
    // Per conversation: where each message starts in what the SDK took,
    // when the user sent it, and its name.
    struct Arrival {
        size_t at;
        int sentAs;
        std::string name;
    };
    std::map<std::string, std::vector<Arrival>> arrived;
    for (size_t n = 0; n < m_messages.size(); ++n) {
        const Message& message = m_messages[n];
        if (message.keptInInput || message.refusedToHost || message.endShown == 0) continue;  // never left
        size_t starts = 0, ends = 0;
        std::string conv;
        size_t startAt = 0, endAt = 0;
        for (const auto& [id, text] : taken) {
            const size_t s = Occurrences(text, message.start), e = Occurrences(text, message.end);
            if (s) {
                conv = id;
                startAt = text.find(message.start);
            }
            if (e) endAt = text.find(message.end);
            starts += s;
            ends += e;
        }
        size_t resentStarts = 0, resentEnds = 0;
        for (const auto& [id, text] : resent) {
            resentStarts += Occurrences(text, message.start);
            resentEnds += Occurrences(text, message.end);
        }
        const std::string name = Narrow(message.start);
        const std::string peer = m_chats[message.chat].peer;
        if (starts + resentStarts > 1 || ends + resentEnds > 1)
            Problem("message " + name + " of " + peer + " reached the SDK more than once");
        if (starts == 1) {
            auto [known, fresh] = chatOfConv.emplace(conv, message.chat);
            if (known->second != message.chat) Problem("message " + name + " went to another chat's conversation");
            arrived[conv].push_back({startAt, message.sentAs, name});
        }
        const bool whole = starts == 1 && ends == 1 && endAt > startAt &&
                           NextStart(taken[conv], startAt + 1) > endAt;
        if (starts == 1 && ends == 1 && !whole) Problem("message " + name + " of " + peer + " is out of order");
        const std::string ownConv = ConvIdOf(m_chats[message.chat]);
        if (!whole && !message.failedShown && !KeptInRecords(message, taken[ownConv] + resent[ownConv])) {
            Problem("message " + name + " of " + peer + " neither reached the SDK whole nor was marked failed");
            if (m_trace) {
                for (size_t i = 0; i < requests.size(); ++i) {
                    const std::u16string text = sim::ToWide(TextOf(requests[i].summary, requests[i].content));
                    if (text.find(message.start) == std::u16string::npos &&
                        text.find(message.end) == std::u16string::npos) {
                        continue;
                    }
                    *m_trace << name << " in request " << i << " stored " << requests[i].stored << "\n";
                }
            }
        }
    }
    // Within a conversation the SDK takes the messages in the order sent.
    for (auto& [conv, arrivals] : arrived) {
        std::sort(arrivals.begin(), arrivals.end(), [](const Arrival& a, const Arrival& b) { return a.at < b.at; });
        for (size_t i = 1; i < arrivals.size(); ++i) {
            if (arrivals[i].sentAs < arrivals[i - 1].sentAs) {
                Problem("message " + arrivals[i - 1].name + " reached the SDK before " + arrivals[i].name +
                        ", which was sent earlier");
            }
        }
    }
}

Result Engine::Finish() {
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    Settle();
    if (tavi::GetSendingMsgCount() != 0) {
        Problem(std::to_string(tavi::GetSendingMsgCount()) + " sends still wait after every completion came");
    }
    CheckSent();
    CheckEmails();
    return m_result;
}

namespace {

// Provisional ids a run takes before the counter wraps: a few dozen sends.
constexpr int64_t kIdsBeforeWrap = 300;

void Add(Counts& total, const Counts& more) {
    total.actions += more.actions;
    total.messagesSent += more.messagesSent;
    total.piecesAccepted += more.piecesAccepted;
    total.keptInInput += more.keptInInput;
    total.failedAndKept += more.failedAndKept;
    total.failedWhileClosed += more.failedWhileClosed;
    total.draftsChecked += more.draftsChecked;
    total.incomingShown += more.incomingShown;
    total.sentForHost += more.sentForHost;
    total.recalled += more.recalled;
    total.shakes += more.shakes;
    total.readStates += more.readStates;
    total.resent += more.resent;
    total.emailsSent += more.emailsSent;
    for (const auto& [kind, count] : more.faults) total.faults[kind] += count;
}

}  // namespace

Result Run(uint64_t seed, int steps, const std::vector<Action>& extraActions, std::ostream* trace) {
    // A long run plays one world after another, each checked on its own, so
    // that what a world piles up (stored messages, requests, checks over
    // all of them) does not make the run ever slower. The first world's
    // seed is the run's.
    Result total;
    // A client that has shown a hundred thousand messages runs out of its
    // first range of provisional ids: every run crosses that point early.
    while (tavi::PeekProvisionalMsgId() >= tavi::kFirstProvisionalMsgId &&
           tavi::PeekProvisionalMsgId() < tavi::kLastProvisionalMsgIdBeforeWrap - kIdsBeforeWrap) {
        tavi::TakeProvisionalMsgId();
    }
    for (int round = 0; round * kRoundSteps < steps; ++round) {
        Engine engine(seed + uint64_t(round) * 0x9E3779B97F4A7C15ull, extraActions, trace);
        for (int i = round * kRoundSteps; i < std::min(steps, (round + 1) * kRoundSteps); ++i) engine.Step();
        const Result result = engine.Finish();
        Add(total.counts, result.counts);
        for (const std::string& problem : result.problems) {
            total.problems.push_back(round == 0 ? problem : "world " + std::to_string(round + 1) + ": " + problem);
        }
    }
    return total;
}

std::string Describe(const Counts& counts) {
    std::ostringstream out;
    out << "actions " << counts.actions << "\n"
        << "messages sent " << counts.messagesSent << "\n"
        << "pieces accepted " << counts.piecesAccepted << "\n"
        << "kept in the input " << counts.keptInInput << "\n"
        << "failed and kept " << counts.failedAndKept << "\n"
        << "  of which failed while closed " << counts.failedWhileClosed << "\n"
        << "drafts checked " << counts.draftsChecked << "\n"
        << "incoming shown " << counts.incomingShown << "\n"
        << "sent for other modules " << counts.sentForHost << "\n"
        << "recalled " << counts.recalled << "\n"
        << "shakes " << counts.shakes << "\n"
        << "read states pushed " << counts.readStates << "\n"
        << "resent " << counts.resent << "\n"
        << "e-mails sent " << counts.emailsSent << "\n";
    for (const auto& [kind, count] : counts.faults) out << "fault " << kind << " " << count << "\n";
    return out.str();
}

}  // namespace soak
