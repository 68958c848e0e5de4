// A long, seeded play of user actions and injected faults over several
// chats, with a checker of what must hold whatever went wrong: every sent
// message reached the SDK once and in order or is marked failed with its
// text kept, every draft survives, every incoming message is shown once.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace pfx {
struct IDllObj;
}

namespace soak {

struct Counts {
    int actions = 0;
    int messagesSent = 0;    // sends that left the input as bubbles
    int piecesAccepted = 0;  // send requests the SDK took
    int keptInInput = 0;     // sends refused before any bubble, the text still in the input
    int failedAndKept = 0;   // messages marked failed, their text still shown
    int failedWhileClosed = 0;  // of those: told in a tip, kept in the records
    int draftsChecked = 0;
    int incomingShown = 0;
    int sentForHost = 0;   // messages other modules sent through a window
    int recalled = 0;      // own messages recalled, their text back in the input
    int shakes = 0;        // shakes that went out
    int readStates = 0;    // read cursors and receipt counts the server pushed
    int resent = 0;        // failed messages that went again from their resend button
    int emailsSent = 0;    // e-mails the e-mail window's sends handed to the service
    std::map<std::string, int> faults;  // injected faults per kind
};

struct Result {
    Counts counts;
    std::vector<std::string> problems;  // empty: every check held
};

class Engine;

// One row of the action table: how often it is chosen and what it does.
// Features add their own rows (recall, resend, receipts, …) to Run.
struct Action {
    std::string name;
    int weight = 1;
    std::function<void(Engine&)> run;
};

// The peer of the e-mail window, none of the chats.
inline constexpr const char* kEmailPeer = "erin";

// Actions played in one world before a long run starts a fresh one.
inline constexpr int kRoundSteps = 20000;

// Plays `steps` actions chosen by `seed`; the same seed plays the same run.
// With `trace`, every action is written there with the chat it acted on and
// the SDK requests it made, to follow a problem back to its cause.
Result Run(uint64_t seed, int steps, const std::vector<Action>& extraActions = {}, std::ostream* trace = nullptr);

// The counts, one "name value" per line.
std::string Describe(const Counts& counts);

// The action rows of the newer features: sends for other modules with and
// without receipts, recalls and their failures, shakes, read cursors and
// receipt counts pushed by the server, resends that fail again or go, and
// the e-mail window's sends.
std::vector<Action> FeatureActions();

// What an action may use: the random source, the chats and their windows,
// the user's basic acts, and the counts and problems of the run.
class Engine {
public:
    struct Chat {
        std::string peer;
        bool group = false;
        void* window = nullptr;  // the HWND of its open window, or null
        std::u16string typed;    // the text the user typed since the last send (objects left out)
        int open = -1;           // the message being typed, -1 none
        bool draftExpected = false;
    };
    // A message the user sent: its markers, the chat and its bubbles' ids.
    struct Message {
        size_t chat = 0;
        std::u16string start, end;
        int64_t firstShown = 0, endShown = 0;
        // Whether the view item `id` is one of this send's provisional ids
        // [firstShown, endShown), also when the counter wrapped in between.
        bool ShownUnder(int64_t id) const;
        bool keptInInput = false;
        bool failedShown = false;
        bool refusedToHost = false;
        int sentAs = -1;  // the order in which the user sent it  // sent for another module, which was told the refusal
    };

    Engine(uint64_t seed, std::vector<Action> actions, std::ostream* trace = nullptr);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    uint64_t Next();
    int Below(int n) { return int(Next() % uint64_t(n)); }
    Chat& AnyChat() {
        Chat& chat = m_chats[size_t(Below(int(m_chats.size())))];
        m_actedOn = chat.peer;
        return chat;
    }
    std::vector<Chat>& Chats() { return m_chats; }
    Counts& Tally() { return m_result.counts; }
    void Problem(const std::string& text) { m_result.problems.push_back(text); }
    void Fault(const std::string& kind) { ++m_result.counts.faults[kind]; }
    // Whether the SDK's completions wait.
    void HoldCompletions(bool hold);
    bool Holding() const { return m_holding; }

    // The user's acts.
    void OpenWindow(Chat& chat);
    void CloseWindow(Chat& chat);
    void Type(Chat& chat, const std::u16string& text);
    void AddPicture(Chat& chat);
    void AddObject(Chat& chat, int imageType, const std::u16string& key);
    void Send(Chat& chat, bool byEnter);
    void Receive(Chat& chat);
    void LogoutAndIn();
    void SendOffline(Chat& chat);
    // The acts of the newer features (SoakEngineFeatures.cpp).
    void SendForHost(Chat& chat, bool withReceipt);
    void Recall(Chat& chat);
    void Shake(Chat& chat);
    void PushReadState(Chat& chat);
    void Resend(Chat& chat);
    void SendEmail();

    void Step();
    Result Finish();

private:
    void StartMessage(Chat& chat);
    // A new message of the chat with its markers; returns its number.
    size_t NewMessage(Chat& chat);
    void Settle();
    void CheckDraft(Chat& chat);
    void CheckSent();
    void CheckEmails();
    void OpenEmailWindow();
    bool KeptInRecords(const Message& message, const std::u16string& accepted);


    uint64_t m_state;
    std::vector<Action> m_actions;
    int m_totalWeight = 0;
    std::vector<Chat> m_chats;
    std::vector<Message> m_messages;
    std::map<int64_t, size_t> m_incoming;  // SDK id -> chat, of messages delivered while open
    Result m_result;
    std::string m_dir;
    int m_pictures = 0;
    int m_received = 0;
    int m_sends = 0;
    bool m_holding = false;
    size_t m_marksSeen = 0;
    pfx::IDllObj* m_module = nullptr;
    // The e-mail window (with a peer of its own, so that its drafts stay
    // apart from the chats') and the markers of the e-mails sent from it.
    Chat m_email;
    struct Email {
        std::u16string start, end;
    };
    std::vector<Email> m_emails;
    std::set<size_t> m_resendRequests;  // indexes of the SDK's requests that resends made
    std::ostream* m_trace = nullptr;
    std::string m_actedOn;  // the chat of the action being played, for the trace
    size_t m_requestsTraced = 0;
    void Trace(const std::string& action);
};

}  // namespace soak
