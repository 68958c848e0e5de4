// The component in a chat window, as the user feels it: the largest input
// sent from a window that shows few or many messages, opening a chat whose
// conversation is small or huge, paging older messages, and starting the
// module in a host.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <ctime>
#include <climits>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "component/TaviImpl.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/pfx.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/driver.h"
#include "support/ChatWorld.h"

namespace {

// Samples are taken in the thread's processor time: the machines that run
// the benchmarks are often busy with builds, and the component runs on one
// thread that never waits.
double ThreadNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

// A host with the module loaded and an account with one buddy; the world
// is torn down with the object.
class ChatWorld : public support::ChatWorld {
public:
    ChatWorld() {
        bench::ResetWorld();
        LoadModule();
        sim::AddAccount("me");
        sim::AddBuddy("bob", "Bob");
        m_conv = sim::OpenConversation("bob");
    }
    ~ChatWorld() {
        CloseWindows();
        Stop();
        bench::ResetWorld();
    }

    qel_handle Conversation() const { return m_conv; }
    HWND Open() { return support::ChatWorld::Open(sim::ChatKind::Person, "bob"); }

private:
    qel_handle m_conv = nullptr;
};

// The largest input a user can send at once: 20 pieces of 1024 units.
// Timed from the click on the send button to its return, by which the
// first piece has reached the SDK; the window shows `range(0)` messages.
void BM_LargestSend(benchmark::State& state) {
    ChatWorld world;
    sim::AddStoredMsgs(world.Conversation(), int(state.range(0)), true);
    HWND window = world.Open();
    tavi::CTaviPanel* panel = ChatWorld::Panel(window);
    CRichEditExUI* view = panel->GetHistoryView();
    // Older messages are paged in until the view shows as many as asked for.
    const int shown = int(bench::Size(state.range(0), std::min<int64_t>(state.range(0), 10)));
    while (view->GetMsgCount() < shown) {
        const int before = view->GetMsgCount();
        panel->OnBtnShowMoreMsg();
        sim::RunUntilIdle();
        if (view->GetMsgCount() == before) break;
    }
    std::set<int64_t> before;
    for (const SViewMsg& m : view->GetMsgs()) before.insert(m.id);

    const std::u16string text(size_t(bench::Size(20 * 1024, 2 * 1024)), u'w');
    CControlUI* button = sim::FindControl(panel, "input.msg_button.sendmsg");
    std::vector<double> samples;
    for (auto _ : state) {
        state.PauseTiming();
        panel->GetInputEdit()->InsertText(text);
        const size_t requests = sim::SdkRequests().size();
        state.ResumeTiming();
        const double start = ThreadNs();
        sim::Click(button);
        samples.push_back(ThreadNs() - start);
        state.PauseTiming();
        if (sim::SdkRequests().size() == requests) state.SkipWithError("the click sent nothing");
        sim::RunUntilIdle();
        // Back to the same number of shown messages for the next round.
        std::vector<int64_t> added;
        for (const SViewMsg& m : view->GetMsgs()) {
            if (!before.count(m.id)) added.push_back(m.id);
        }
        for (int64_t id : added) view->DeleteMsg(id);
        state.ResumeTiming();
    }
    state.counters["shown"] = double(view->GetMsgCount());
    bench::ReportP99(state, samples);
}
BENCHMARK(BM_LargestSend)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Opening a chat: from the host's request to the window showing its last
// page, for a conversation of `range(0)` stored messages.
void BM_OpenChat(benchmark::State& state) {
    ChatWorld world;
    sim::AddStoredMsgs(world.Conversation(), int(bench::Size(state.range(0), 100)), true);
    for (auto _ : state) {
        HWND window = world.Open();
        state.PauseTiming();
        sim::CloseChatWindow(window);
        sim::RunUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenChat)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Ten clicks on the button for older messages in a conversation of a
// million stored messages.
void BM_TenOlderPages(benchmark::State& state) {
    ChatWorld world;
    sim::AddStoredMsgs(world.Conversation(), int(bench::Size(1000000, 1000)), true);
    for (auto _ : state) {
        state.PauseTiming();
        HWND window = world.Open();
        tavi::CTaviPanel* panel = ChatWorld::Panel(window);
        state.ResumeTiming();
        for (int page = 0; page < 10; ++page) {
            panel->OnBtnShowMoreMsg();
            sim::RunUntilIdle();
        }
        state.PauseTiming();
        sim::CloseChatWindow(window);
        sim::RunUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TenOlderPages)->Unit(benchmark::kMicrosecond);

// A host starting the module: load the shared object, create the module
// object, Init, and open the first chat window.
void BM_ModuleStart(benchmark::State& state) {
    const std::string path = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libtavi.so").string();
    for (auto _ : state) {
        bench::ResetWorld();
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            state.SkipWithError("libtavi.so does not load");
            break;
        }
        auto create = reinterpret_cast<pfx::IDllObj* (*)(const char16_t*)>(dlsym(library, "CreateDllObj"));
        pfx::IDllObj* module = create(u"tavi");
        sim::AddModule(module);
        module->Init(sim::GetHost());
        sim::AddAccount("me");
        sim::AddBuddy("bob", "Bob");
        sim::OpenConversation("bob");
        HWND window = sim::OpenChatWindow(sim::ChatKind::Person, "bob");
        sim::RunUntilIdle();
        state.PauseTiming();
        sim::CloseChatWindow(window);
        sim::RunUntilIdle();
        module->Uninit();
        sim::RemoveModule(module);
        module->Release();
        dlclose(library);
        bench::ResetWorld();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ModuleStart)->Unit(benchmark::kMicrosecond);

}  // namespace
