// The few operating-system calls the component makes, with the platform's
// names where it has them.
#pragma once

#include <cstdint>
#include <string>

using HMODULE = void*;
using HWND = void*;

// The module that holds the given address (the platform's load
// notification hands the module its own instance handle; here the module
// asks for it with the address of one of its own functions).
HMODULE GetModuleHandleFromAddress(const void* address);
// The full path of the module's file, with the platform's separators.
std::u16string GetModuleFileNameW(HMODULE module);

uint32_t GetTickCount();
// High bit set while the key is down; VK_MENU is the Alt key.
constexpr int VK_MENU = 0x12;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_UP = 0x26;
constexpr int VK_DOWN = 0x28;
int16_t GetKeyState(int virtualKey);

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

namespace pfx {
struct GUID;
}
// A new unique identifier; false when none can be made.
bool CoCreateGuid(pfx::GUID* out);
