// tavi-host: the host process of the chat-window component. It loads the
// module (dlopen, LoadLibraryW), starts it, and plays a scenario.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <iostream>
#include <sstream>
#include <string>

#include "LineEditor.h"
#include "Runner.h"
#include "sdk/pfx.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

namespace {

constexpr const char* kUsage = "usage: tavi-host [--lang keys|en] [--snapshot DIR] [--empty] [SCENARIO | -]\n";

struct Options {
    sim::Language language = sim::Language::English;
    std::string snapshotDir;
    std::string scenario;  // empty: the demo; "-": standard input
    bool empty = false;    // the prompt starts with nothing instead of the demo's world
};

// Answers false on a bad command line.
bool ParseOptions(int argc, char** argv, Options& options) {
    bool haveScenario = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lang" && i + 1 < argc) {
            const std::string lang = argv[++i];
            if (lang == "keys") options.language = sim::Language::Keys;
            else if (lang == "en") options.language = sim::Language::English;
            else return false;
        } else if (arg == "--snapshot" && i + 1 < argc) {
            options.snapshotDir = argv[++i];
        } else if (arg == "--empty") {
            options.empty = true;
        } else if ((arg.size() > 1 && arg[0] == '-') || haveScenario) {
            return false;
        } else {
            options.scenario = arg;
            haveScenario = true;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The module as the host process holds it, from loading to unloading.
class LoadedModule {
public:
    bool Load(const std::string& path) {
        m_lib = sim::os::OpenModule(sim::ToWide(path), &m_error);
        if (!m_lib) return false;
        using CreateFn = pfx::IDllObj* (*)(const char16_t*);
        auto create = reinterpret_cast<CreateFn>(sim::os::FindSymbol(m_lib, "CreateDllObj"));
        m_module = create ? create(u"tavi") : nullptr;
        if (!m_module) {
            m_error = "the module offers no CreateDllObj";
            return false;
        }
        sim::AddModule(m_module);
        m_module->Init(sim::GetHost());
        m_module->EnumClasses(sim::GetClassRegistrar());
        m_module->EnumPlugins(sim::GetPluginManager());
        m_module->RegisterMsgs(sim::GetObjMsgRegistrar());
        return true;
    }

    ~LoadedModule() {
        if (m_module) {
            // A scenario may end while the SDK holds completions; the SDK
            // completes every request before it goes, and each completion
            // owns what its send needs.
            sim::HoldCompletions(false);
            sim::ReleaseCompletions();
            sim::RunUntilIdle();
            // The host closes its chat windows before it stops the module.
            for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
            m_module->Uninit();
            sim::RunUntilIdle();
            sim::RemoveModule(m_module);
            m_module->Release();
        }
        // Nothing of the module's may outlive its code.
        sim::ResetAll();
        sim::os::CloseModule(m_lib);
    }

    pfx::IDllObj* Module() const { return m_module; }
    const std::string& Error() const { return m_error; }

private:
    void* m_lib = nullptr;
    pfx::IDllObj* m_module = nullptr;
    std::string m_error;
};

// The demo's world is built before the story or the prompt; it never fails
// unless the module does.
bool PlayQuietly(host::Runner& runner, const char* script) {
    const std::string error = runner.RunQuietly(script);
    if (error.empty()) return true;
    std::fprintf(stderr, "error: 0: the demo's world could not be built: %s\n", error.c_str());
    return false;
}

// At a terminal a person can chat at once: the demo's people with a chat
// with Bob and one with the project team open, unless asked for nothing.
bool StartAtPrompt(host::Runner& runner, bool empty) {
    if (empty) {
        runner.Print("tavi-host: an empty world; start with 'me <id> \"<name>\"', 'help' lists the commands, Ctrl+D ends");
        return true;
    }
    if (!PlayQuietly(runner, host::kDemoWorld) || !PlayQuietly(runner, host::kReadyChats)) return false;
    runner.Print(host::kReadyLine);
    runner.PrintNewBubbles();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    sim::SetLanguage(options.language);
    sim::os::UseBinaryOutput();
    // On a desktop the user may want "open folder" to really open it.
    if (const char* shell = std::getenv("TAVI_SYSTEM_SHELL"); shell && std::string(shell) == "1")
        sim::PassShellCallsToSystem(true);

    std::unique_ptr<std::istream> file;
    std::istringstream demo(host::kDemoScenario);
    std::istream* in = &demo;
    // The demo finds its picture beside the program.
    std::string folder = FolderOf(argv[0]) + "/demo";
    const bool fromStdin = options.scenario == "-";
    if (fromStdin) {
        in = &std::cin;
        folder = ".";
    } else if (!options.scenario.empty()) {
        file = std::make_unique<std::ifstream>(options.scenario);
        if (!*file) {
            std::fprintf(stderr, "error: 0: cannot read scenario %s\n", options.scenario.c_str());
            return 1;
        }
        in = file.get();
        folder = FolderOf(options.scenario);
    }

    LoadedModule module;
    if (!module.Load(FolderOf(argv[0]) + "/" TAVI_MODULE_FILE)) {
        std::fprintf(stderr, "error: 0: cannot load the module: %s\n", module.Error().c_str());
        return 1;
    }
    host::Runner runner(module.Module(), folder);
    host::AddAllCommands(runner);
    const bool interactive = fromStdin && sim::os::IsInteractiveInput();
    bool ran = false;
    if (interactive) {
        // A person reads lines in a terminal: long texts are shortened.
        runner.SetReadable(true, true);
        if (!StartAtPrompt(runner, options.empty)) return 1;
        host::EditedLines lines(runner);
        ran = runner.Run(lines, true);
    } else {
        if (options.scenario.empty()) {
            runner.SetReadable(true, false);
            if (!PlayQuietly(runner, host::kDemoWorld)) return 1;
        }
        ran = runner.Run(*in, false);
    }
    if (!options.snapshotDir.empty() && !runner.Snapshot(options.snapshotDir)) {
        std::fprintf(stderr, "error: 0: cannot write the snapshot into %s\n", options.snapshotDir.c_str());
        return 1;
    }
    return ran ? 0 : 1;
}
