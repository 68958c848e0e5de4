// The emoticon definition file as it lies beside the module: any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FreshStandIn.h"
#include "ScratchFolder.h"
#include "tools/EmoticonWnd.h"
#include "util/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (fuzz::ScratchFolder() / "emoticon.xml").string();
    const fuzz::FreshStandIn standIn;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    {
        tavi::CEmoticonWnd picker;
        picker.Load(util::Utf8ToWide(path));
        for (const auto& [name, description] : picker.GetEmoticons()) (void)name.size(), (void)description.size();
    }
    return 0;
}
