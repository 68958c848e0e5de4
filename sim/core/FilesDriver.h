// Driver API of the operating system's file side: files dropped on a
// window, the open and save dialogs, file copies and the pointer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/win32.h"

namespace sim {

// A drop of these paths; it lives until the world is reset.
HDROP MakeDrop(const std::vector<std::u16string>& paths);
bool IsDropFinished(HDROP drop);
std::vector<std::u16string> DropPaths(HDROP drop);

// Every open or save dialog shown, as it was asked for.
struct FileDialog {
    std::string kind;  // "open" or "save"
    HWND owner = nullptr;
    std::u16string title;
    std::vector<std::u16string> filter;  // label, patterns, label, patterns, ...
    std::u16string fileName;             // what the dialog proposed
    uint32_t flags = 0;
    uint32_t bufferSize = 0;
    bool hooked = false;
};
const std::vector<FileDialog>& FileDialogs();
// The next dialog answers these files (none: the user cancels); later
// dialogs without a queued answer are cancelled.
void QueueFileDialogAnswer(const std::vector<std::u16string>& paths);

struct FileCopy {
    std::u16string from;
    std::u16string to;
    bool ok = false;
};
const std::vector<FileCopy>& FileCopies();

}  // namespace sim
