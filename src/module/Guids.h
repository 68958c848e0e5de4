// The identifiers under which the host knows the module, its classes and
// its plug-ins, and the kinds of chat window.
#pragma once

#include "sdk/pfx.h"

namespace tavi {

inline constexpr pfx::GUID kModuleId = pfx::MakeGuid("{50995D39-2114-476C-A0DD-2C446A8A3A2C}");
inline constexpr pfx::GUID kTaviImplId = pfx::MakeGuid("{E4C164AB-1B69-4A27-82F4-DF60A2AB1A7F}");
inline constexpr pfx::GUID kQelMsgHandleImplId = pfx::MakeGuid("{8B2E4776-9452-4F60-B0B4-62E232A9CB89}");
inline constexpr pfx::GUID kEmoticonBrowserId = pfx::MakeGuid("{8B0D07F2-98E2-4B8A-9498-BE634AB0C2EC}");
inline constexpr pfx::GUID kConvWndPluginId = pfx::MakeGuid("{086A6BDF-6F09-41FA-A061-8C5BB7E2CED4}");
inline constexpr pfx::GUID kShakePluginId = pfx::MakeGuid("{07E78AC2-69DD-45EF-BB49-9094D2DC51CA}");
inline constexpr pfx::GUID kChatPluginCategory = pfx::MakeGuid("{51BCC09D-16FB-4ECC-93A9-6545A1F25978}");

// The object message the host delivers before the user logs out.
inline constexpr uint32_t kMsgPreLogout = 0x528B;

}  // namespace tavi
