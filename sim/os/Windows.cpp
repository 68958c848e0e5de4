// The operating system under the stand-in, on Windows: the real calls, with
// UTF-16 paths throughout.
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <cstdio>
#include <vector>

#include "sim/core/Text.h"
#include "sim/os/Os.h"

namespace sim::os {
namespace {

// char16_t and wchar_t are both UTF-16 here: the units pass as they are.
std::wstring W(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
std::u16string U(const wchar_t* text, size_t size) { return std::u16string(text, text + size); }

std::string LastErrorText() {
    const DWORD code = GetLastError();
    wchar_t* message = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = "error " + std::to_string(code);
    if (n && message) {
        std::u16string wide = U(message, n);
        while (!wide.empty() && (wide.back() == u'\n' || wide.back() == u'\r' || wide.back() == u' ')) wide.pop_back();
        text += ": " + ToUtf8(wide);
    }
    if (message) LocalFree(message);
    return text;
}

}  // namespace

void* OpenModule(const std::u16string& path, std::string* error) {
    HMODULE module = LoadLibraryW(W(path).c_str());
    if (!module && error) *error = LastErrorText();
    return reinterpret_cast<void*>(module);
}

void* FindSymbol(void* module, const char* name) {
    if (!module || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void CloseModule(void* module) {
    if (module) FreeLibrary(static_cast<HMODULE>(module));
}

void* ModuleOfAddress(const void* address) {
    HMODULE module = nullptr;
    if (!address || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<const wchar_t*>(address), &module))
        return nullptr;
    return reinterpret_cast<void*>(module);
}

std::u16string ModuleFileName(void* module) {
    if (!module) return std::u16string();
    // Paths may be longer than MAX_PATH: grow until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(static_cast<HMODULE>(module), buffer.data(), DWORD(buffer.size()));
        if (n == 0) return std::u16string();
        if (n < buffer.size()) return U(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ProgramFileName(const std::string& name) { return name + ".exe"; }

CommandResult RunProgram(const std::string& program, const std::string& arguments, const std::string& inputFile) {
    // cmd.exe wants the program with the system's separators, and the whole
    // line quoted once more around its own quotes.
    std::string path = program;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    const std::string command = "\"\"" + path + "\" " + arguments + " < \"" + inputFile + "\" 2>&1\"";
    FILE* pipe = _wpopen(W(ToWide(command)).c_str(), L"rb");
    if (!pipe) return {};
    CommandResult result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
    result.status = _pclose(pipe);
    return result;
}

bool ShellOpen(const std::u16string& verb, const std::u16string& file, const std::u16string& parameters, int show) {
    const HINSTANCE result = ShellExecuteW(nullptr, W(verb).c_str(), W(file).c_str(),
                                           parameters.empty() ? nullptr : W(parameters).c_str(), nullptr, show);
    // The call answers a number above 32 when it succeeded.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool IsInteractiveInput() { return _isatty(_fileno(stdin)) != 0; }

void UseBinaryOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool DuplicateFile(const std::u16string& from, const std::u16string& to, bool failIfExists) {
    return CopyFileW(W(from).c_str(), W(to).c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

std::vector<std::string> EndlessFiles(const std::string&) { return {}; }

int ProcessId() { return _getpid(); }

}  // namespace sim::os
