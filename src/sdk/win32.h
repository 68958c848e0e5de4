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

// ---- dropped files, file dialogs, copying, the pointer ----
// A set of files dropped on a window; the receiver ends it with DragFinish.
using HDROP = void*;
// index 0xFFFFFFFF: the number of files; otherwise the length of file
// `index`'s path, copied into `buffer` (cut to `size` - 1 units, NUL ended).
uint32_t DragQueryFileW(HDROP drop, uint32_t index, char16_t* buffer, uint32_t size);
void DragFinish(HDROP drop);

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};
// The pointer in screen coordinates.
bool GetCursorPos(POINT* point);

constexpr uint32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr uint32_t OFN_HIDEREADONLY = 0x4;
constexpr uint32_t OFN_NOCHANGEDIR = 0x8;
constexpr uint32_t OFN_ENABLEHOOK = 0x20;
constexpr uint32_t OFN_ALLOWMULTISELECT = 0x200;
constexpr uint32_t OFN_EXTENSIONDIFFERENT = 0x400;
constexpr uint32_t OFN_PATHMUSTEXIST = 0x800;
constexpr uint32_t OFN_FILEMUSTEXIST = 0x1000;
constexpr uint32_t OFN_EXPLORER = 0x80000;

// A filter is pairs of NUL-ended texts (label, patterns) ending with an
// extra NUL. With OFN_ALLOWMULTISELECT several files come back as the
// folder, then each name, each NUL-ended, and a final NUL.
using LPOFNHOOKPROC = uintptr_t (*)(HWND, uint32_t, uintptr_t, intptr_t);
struct OPENFILENAMEW {
    HWND hwndOwner = nullptr;
    const char16_t* lpstrFilter = nullptr;
    char16_t* lpstrFile = nullptr;
    uint32_t nMaxFile = 0;
    const char16_t* lpstrTitle = nullptr;
    uint32_t Flags = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
};
bool GetOpenFileNameW(OPENFILENAMEW* ofn);
bool GetSaveFileNameW(OPENFILENAMEW* ofn);
bool CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists);
