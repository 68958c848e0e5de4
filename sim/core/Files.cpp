// The operating system's file side: drops, dialogs, copies, the pointer.
#include <deque>
#include <filesystem>
#include <memory>

#include "sdk/platform_files.h"
#include "sim/core/FilesDriver.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/os/Os.h"

namespace sim {
namespace {

struct Drop {
    std::vector<std::u16string> paths;
    bool finished = false;
};

struct FilesState {
    std::vector<std::unique_ptr<Drop>> drops;
    std::vector<FileDialog> dialogs;
    std::deque<std::vector<std::u16string>> answers;
    std::vector<FileCopy> copies;
};

FilesState& State() {
    static FilesState state;
    return state;
}
const bool kRegistered = RegisterReset([] { State() = FilesState{}; });

Drop* FindDrop(HDROP handle) {
    for (const auto& drop : State().drops) {
        if (drop.get() == handle) return drop.get();
    }
    return nullptr;
}

// Splits a NUL-separated list that ends with an empty entry.
std::vector<std::u16string> SplitDoubleNul(const char16_t* text) {
    std::vector<std::u16string> parts;
    while (text && *text) {
        parts.emplace_back(text);
        text += parts.back().size() + 1;
    }
    return parts;
}

// Writes a NUL-ended list with a final NUL; false when the buffer is too small.
bool WriteList(const std::vector<std::u16string>& parts, char16_t* buffer, uint32_t size) {
    size_t need = 1;
    for (const auto& part : parts) need += part.size() + 1;
    if (!buffer || need > size) return false;
    for (const auto& part : parts) {
        std::copy(part.begin(), part.end(), buffer);
        buffer += part.size();
        *buffer++ = u'\0';
    }
    *buffer = u'\0';
    return true;
}

bool ShowDialog(const char* kind, OPENFILENAMEW* ofn) {
    if (!ofn) return false;
    FileDialog dialog;
    dialog.kind = kind;
    dialog.owner = ofn->hwndOwner;
    dialog.title = ofn->lpstrTitle ? ofn->lpstrTitle : u"";
    dialog.filter = SplitDoubleNul(ofn->lpstrFilter);
    dialog.fileName = ofn->lpstrFile ? ofn->lpstrFile : u"";
    dialog.flags = ofn->Flags;
    dialog.bufferSize = ofn->nMaxFile;
    dialog.hooked = ofn->lpfnHook != nullptr;
    State().dialogs.push_back(dialog);
    if (State().answers.empty()) return false;
    std::vector<std::u16string> paths = State().answers.front();
    State().answers.pop_front();
    if (paths.empty()) return false;
    if (paths.size() > 1) {
        if (!(ofn->Flags & OFN_ALLOWMULTISELECT)) return false;
        // The folder first, then each name.
        std::vector<std::u16string> parts{platform::FsPath(paths[0]).parent_path().u16string()};
        for (const auto& path : paths) parts.push_back(platform::FsPath(path).filename().u16string());
        return WriteList(parts, ofn->lpstrFile, ofn->nMaxFile);
    }
    return WriteList({paths[0]}, ofn->lpstrFile, ofn->nMaxFile);
}

}  // namespace

HDROP MakeDrop(const std::vector<std::u16string>& paths) {
    State().drops.push_back(std::make_unique<Drop>(Drop{paths, false}));
    return State().drops.back().get();
}

bool IsDropFinished(HDROP drop) {
    const Drop* d = FindDrop(drop);
    return d && d->finished;
}

std::vector<std::u16string> DropPaths(HDROP drop) {
    const Drop* d = FindDrop(drop);
    return d ? d->paths : std::vector<std::u16string>{};
}


const std::vector<FileDialog>& FileDialogs() { return State().dialogs; }
void QueueFileDialogAnswer(const std::vector<std::u16string>& paths) { State().answers.push_back(paths); }
const std::vector<FileCopy>& FileCopies() { return State().copies; }

}  // namespace sim

uint32_t DragQueryFileW(HDROP drop, uint32_t index, char16_t* buffer, uint32_t size) {
    const sim::Drop* d = sim::FindDrop(drop);
    if (!d) return 0;
    if (index == 0xFFFFFFFFu) return uint32_t(d->paths.size());
    if (index >= d->paths.size()) return 0;
    const std::u16string& path = d->paths[index];
    if (buffer && size > 0) {
        const size_t n = std::min<size_t>(path.size(), size - 1);
        std::copy(path.begin(), path.begin() + long(n), buffer);
        buffer[n] = u'\0';
    }
    return uint32_t(path.size());
}

void DragFinish(HDROP drop) {
    if (sim::Drop* d = sim::FindDrop(drop)) d->finished = true;
}

bool GetOpenFileNameW(OPENFILENAMEW* ofn) { return sim::ShowDialog("open", ofn); }
bool GetSaveFileNameW(OPENFILENAMEW* ofn) { return sim::ShowDialog("save", ofn); }

bool CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) {
    if (!from || !to) return false;
    std::error_code error;
    const bool ok = std::filesystem::is_regular_file(platform::FsPath(from), error) &&
                    sim::os::DuplicateFile(from, to, failIfExists);
    sim::State().copies.push_back({from, to, ok});
    return ok;
}
