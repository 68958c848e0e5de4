// Files in an ad-hoc chat: the window has no conversation to send through,
// so a file goes to the host's ad-hoc sender as a "file/xml" item that
// names it, and the host transfers it.
#include <filesystem>

#include <tinyxml.h>

#include "msghandle/MsgHandle.h"
#include "panel/HostService.h"
#include "sdk/adhoc.h"
#include "util/LogRefusal.h"
#include "util/SafeXml.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr const char* kContentFileXml = "file/xml";
}  // namespace

void CMsgHandle::SendFileToAdhoc(const std::u16string& path) {
    TAVI_SCOPE("CMsgHandle::SendFileToAdhoc");
    const std::string file = util::WideToUtf8(path);
    const std::filesystem::path fsPath(file);
    std::error_code error;
    // Only a file can be sent: a folder, a device or a pipe has no size to
    // send, and a path that vanished has nothing.
    const bool regular = std::filesystem::is_regular_file(fsPath, error);
    const uintmax_t size = regular ? std::filesystem::file_size(fsPath, error) : 0;
    if (!regular || error) {
        TAVI_LOG("ad-hoc file not sent, not a file: %s", file.c_str());
        return;
    }
    CHostService<IAdhocSender> sender(kAdhocSenderId);
    if (!sender) {
        TAVI_LOG("ad-hoc file not sent, no sender: %s", file.c_str());
        return;
    }
    const std::string name = fsPath.filename().string();
    TiXmlElement item("file");
    item.SetAttribute("name", name);
    item.SetAttribute("size", std::to_string(size));
    item.SetAttribute("path", file);
    const int result = sender->SendAdhocMsg(kContentFileXml, util::PrintXmlCompact(item).c_str(), name.c_str(),
                                            GetWindowHandle());
    TAVI_LOG_REFUSAL("ad-hoc file refused: %d", result);
}

}  // namespace tavi
