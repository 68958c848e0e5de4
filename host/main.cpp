// tavi-host: the host process of the chat-window component. It loads the
// module with dlopen, starts it, and plays a scenario.
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "sdk/pfx.h"
#include "sim/driver.h"

int main(int argc, char** argv) {
    (void)argc;
    std::string self = argv[0];
    const size_t slash = self.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : self.substr(0, slash + 1);
    void* lib = dlopen((folder + "libtavi.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::fprintf(stderr, "error: cannot load the module: %s\n", dlerror());
        return 1;
    }
    using CreateFn = pfx::IDllObj* (*)(const char16_t*);
    auto create = reinterpret_cast<CreateFn>(dlsym(lib, "CreateDllObj"));
    pfx::IDllObj* module = create ? create(u"tavi") : nullptr;
    if (!module) {
        std::fprintf(stderr, "error: the module has no CreateDllObj\n");
        return 1;
    }
    sim::AddModule(module);
    module->Init(sim::GetHost());
    module->EnumClasses(sim::GetClassRegistrar());
    module->EnumPlugins(sim::GetPluginManager());
    module->RegisterMsgs(sim::GetObjMsgRegistrar());
    std::printf("module loaded: %zu classes, %zu plug-ins, %zu messages\n", sim::AnnouncedClasses().size(),
                sim::AnnouncedPlugins().size(), sim::AnnouncedMsgs().size());
    module->OnObjMsg(0x528B, 0, 0, nullptr);
    module->Uninit();
    sim::RemoveModule(module);
    module->Release();
    dlclose(lib);
    return 0;
}
