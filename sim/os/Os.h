// The operating system under the stand-in, the host program and the tests:
// loading modules, naming a module's file, running a program, the shell and
// the standard streams. One implementation per system (Posix.cpp,
// Windows.cpp); nothing else in the project calls the system for these.
#pragma once

#include <string>
#include <vector>

namespace sim::os {

// A loaded module (a shared object or a DLL); null when it cannot be
// loaded, with the system's reason in `error`.
void* OpenModule(const std::u16string& path, std::string* error);
void* FindSymbol(void* module, const char* name);
void CloseModule(void* module);

// The module that holds `address`, and the full path of a module's file.
void* ModuleOfAddress(const void* address);
std::u16string ModuleFileName(void* module);

// The file name of a program built beside this one: "tavi-host" is
// "tavi-host.exe" on Windows.
std::string ProgramFileName(const std::string& name);

// Runs `program` with `arguments` (already quoted as a shell would want),
// its standard input read from `inputFile`; returns its exit code and what
// it wrote to its standard output and error, in that order of arrival.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunProgram(const std::string& program, const std::string& arguments, const std::string& inputFile);

// Hands a verb and a file to the system's shell, as a user's double click
// would; false when the system refused.
bool ShellOpen(const std::u16string& verb, const std::u16string& file, const std::u16string& parameters, int show);

// Whether standard input is a terminal (someone types at a prompt).
bool IsInteractiveInput();

// Standard output and error as bytes: a transcript reads the same on every
// system.
void UseBinaryOutput();

// Copies a file with the system's own call; false when it failed or when
// `failIfExists` and `to` is there.
bool DuplicateFile(const std::u16string& from, const std::u16string& to, bool failIfExists);

// Files that exist without being regular files and that would never end or
// would block when read: a device and a named pipe (made in `folder`).
// Windows offers no such file by path: the list is empty there.
std::vector<std::string> EndlessFiles(const std::string& folder);

// Whether a file name may hold a double quote (Windows refuses it).
#if defined(_WIN32)
inline constexpr bool kFileNamesMayHoldQuotes = false;
#else
inline constexpr bool kFileNamesMayHoldQuotes = true;
#endif

// The file that takes whatever is written to it and keeps none of it.
#if defined(_WIN32)
inline constexpr char kNullDevice[] = "NUL";
#else
inline constexpr char kNullDevice[] = "/dev/null";
#endif

// This process's id, to make file names that parallel runs do not share.
int ProcessId();

}  // namespace sim::os
