// Driver API of the stand-in's core: the world's reset, the loop and
// clock, logs and traces, configuration, texts, resources and keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/win32.h"
#include "sim/core/Loop.h"

class CControlUI;

namespace sim {

// Forgets the whole world: every test starts from here.
void ResetAll();

// Virtual time starts at 2026-01-01 00:00:00 UTC.
constexpr int64_t kEpochSeconds = 1767225600;
constexpr uint32_t kTickBase = 1000000;

// Logging: level bits of the logger (both on by default), the lines
// written so far (channel "" for the log, else the trace channel).
struct LogEntry {
    int level;
    std::string channel;
    std::string text;
};
void SetLogLevel(int level);
const std::vector<LogEntry>& LogLines();
void EnableTraceChannel(const std::string& channel);
// The names of the scope traces opened so far, in order.
const std::vector<std::string>& ScopeTraces();
void SetLastError(int code, const std::string& message);

// Client configuration values.
void SetExeConfig(const std::string& section, const std::string& key, const std::string& value);
void SetModuleConfig(const std::string& section, const std::string& key, const std::string& value);

// Localised texts: English from skin/lang/en.xml, or every key as its own text.
enum class Language { English, Keys };
void SetLanguage(Language language);
void SetText(const std::string& key, const std::string& text);
std::u16string LocalisedText(const std::u16string& key);

// What the module registered with the UI engine and resource manager.
const std::vector<std::string>& ResourceFolders();
std::vector<std::string> RegisteredControlClasses();
CControlUI* CreateRegisteredControl(const std::string& className);

// Key state as GetKeyState reports it.
void SetKeyDown(int virtualKey, bool down);
// The next `count` calls of CoCreateGuid fail.
void FailNextGuids(int count);

}  // namespace sim

// ---- The desktop: monitors, cursor, fonts, colour dialog, folders ----
namespace sim {
// The first monitor is the primary one (default: one of 1920 by 1080).
void SetMonitors(const std::vector<RECT>& monitors);
void SetCursorPoint(int32_t x, int32_t y);
// The installed font families as the platform enumerates them (in this
// order, duplicates as given).
void SetInstalledFonts(const std::vector<std::u16string>& families);
int FontEnumerationCount();
// What the user does in the next colour dialogs: a colour (and custom
// colours edited by index), or cancel. Without an answer it is cancelled.
struct ColorAnswer {
    uint32_t color = 0;
    std::vector<std::pair<int, uint32_t>> custom;
};
void QueueColorAnswer(const ColorAnswer& answer);
void QueueColorCancel();
struct ColorDialogCall {
    HWND owner = nullptr;
    uint32_t initial = 0;
    uint32_t flags = 0;
    bool hooked = false;
    std::vector<uint32_t> custom;  // the custom colours as the dialog opened
};
const std::vector<ColorDialogCall>& ColorDialogCalls();
// The client's miscellaneous configuration folder (default: none) and the
// module's configuration folder (default: the skin folder beside it).
void SetConfMiscPath(const std::u16string& folder);
void SetModuleConfPath(const std::u16string& folder);
}  // namespace sim
