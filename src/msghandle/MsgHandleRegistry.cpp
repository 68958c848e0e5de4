// Every live handler by handle id, so that log-out can reach the drafts of
// all open conversations.
#include <map>

#include "msghandle/MsgHandle.h"
#include "sdk/common_sdk.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
// Plain code-unit order, which is also the order drafts are saved in.
std::map<std::u16string, CMsgHandle*>& Registry() {
    static std::map<std::u16string, CMsgHandle*> registry;
    return registry;
}
}  // namespace

void AddMsgHandle(const std::u16string& id, CMsgHandle* handler) {
    if (!Registry().emplace(id, handler).second)
        TAVI_LOG_FAIL("same id = %s", util::WideToUtf8(id).c_str());
}

void RemoveMsgHandle(const std::u16string& id) {
    if (Registry().erase(id) == 0) TAVI_LOG("can note find iter! id =%s", util::WideToUtf8(id).c_str());
}

CMsgHandle* FindMsgHandle(const std::u16string& id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

void MsgHandlePreLogoutCallBack() {
    if (!common::HaveDraft()) return;
    // Saving may not touch the registry, but walk a copy all the same so a
    // handler that goes away meanwhile cannot break the walk.
    const auto handlers = Registry();
    for (const auto& entry : handlers) {
        if (FindMsgHandle(entry.first) == entry.second) entry.second->SaveDraft();
    }
}

}  // namespace tavi
