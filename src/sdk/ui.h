// The UI framework's engine and resources as the module uses them at
// start-up, and localised texts.
#pragma once

#include <string>

#include "sdk/win32.h"

class CControlUI;

using ControlFactoryFn = CControlUI* (*)();

class IUIEngine {
public:
    virtual ~IUIEngine() = default;
    // Registers a control class name for layouts; false when the name is taken.
    virtual bool RegisterControl(const char16_t* className, ControlFactoryFn factory) = 0;
    // The engine's layout direction: true when windows are mirrored (right to left).
    virtual bool IsRTLLayout();
    // Tells the host's UI about something that happened in a window (code 10: a message was sent).
    virtual void NotifyHost(int code, HWND window);
};

class IUIRes {
public:
    virtual ~IUIRes() = default;
    // Adds a folder (ending in a separator) where layouts, menus and texts are looked up.
    virtual void AddResPath(const char16_t* folder, int flags) = 0;
    // The face and size (points) of the skin's default font.
    virtual std::u16string GetDefaultFontName();
    virtual int GetDefaultFontSize();
};

IUIEngine* GetUIEngine();
IUIRes* GetUIRes();

// The localised text of a key such as "#SEND_MESSAGE"; the pointer is
// valid until the next call.
const char16_t* I18NSTR(const char16_t* key, int flags);
