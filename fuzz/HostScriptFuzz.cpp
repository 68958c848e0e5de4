// Scenarios for the host program: any text played line by line against a
// fresh world with the module started in this process, as tavi-host plays
// a file. The transcript itself is thrown away.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "Runner.h"
#include "ScratchFolder.h"
#include "sim/driver.h"
#include "sim/os/Os.h"

namespace {

// Paths in a scenario are read, and files written, in a scratch folder
// that holds the picture the golden scenarios use.
const std::string& ScenarioFolder() {
    static const std::string folder = [] {
        std::error_code ignored;
        std::filesystem::copy_file(TAVI_SCENARIO_DIR "/photo.png", fuzz::ScratchFolder() / "photo.png",
                                   std::filesystem::copy_options::overwrite_existing, ignored);
        return fuzz::ScratchFolder().string();
    }();
    return folder;
}

void Play(const std::string& script) {
    sim::ResetAll();
    sim::SetLanguage(sim::Language::Keys);
    pfx::IDllObj* module = CreateDllObj(u"tavi");
    sim::AddModule(module);
    module->Init(sim::GetHost());
    module->EnumClasses(sim::GetClassRegistrar());
    module->EnumPlugins(sim::GetPluginManager());
    module->RegisterMsgs(sim::GetObjMsgRegistrar());
    {
        host::Runner runner(module, ScenarioFolder());
        host::AddAllCommands(runner);
        std::istringstream in(script);
        runner.Run(in, false);
    }
    // A script may stop while the SDK holds completions; the SDK completes
    // every request before it goes, and each completion owns its send's
    // context.
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
    module->Uninit();
    sim::RunUntilIdle();
    sim::RemoveModule(module);
    module->Release();
    sim::ResetAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The transcript goes to standard output; the fuzzer reports on standard error.
    static const bool quiet = std::freopen(sim::os::kNullDevice, "w", stdout) != nullptr;
    (void)quiet;
    Play(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
