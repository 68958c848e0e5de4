// How a UTF-16 path reaches the file system, on every system the component
// is built for.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// A path the file system understands, from UTF-16 text. Windows takes the
// units as they are; elsewhere they become UTF-8, and text that is not
// valid UTF-16 names no file at all (an empty path) rather than throwing.
inline std::filesystem::path FsPath(std::u16string_view text) {
#if defined(_WIN32)
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
    try {
        return std::filesystem::path(std::u16string(text));
    } catch (const std::exception&) {
        return std::filesystem::path();
    }
#endif
}

// The same from UTF-8 text.
inline std::filesystem::path FsPath(std::string_view utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::exception&) {
        return std::filesystem::path();
    }
}

// Whether a path names its place without a folder to start from: "/x" on
// every system; "C:\x", "C:x" and "\\server\share" too on Windows.
inline bool IsRootedPath(std::string_view utf8) {
    const std::filesystem::path path = FsPath(utf8);
    return path.has_root_directory() || path.has_root_name();
}

// A path as UTF-8 text, for logs and transcripts.
inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// fopen with a path that may hold any character.
inline std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#if defined(_WIN32)
    return _wfopen(path.c_str(), std::wstring(mode, mode + std::char_traits<char>::length(mode)).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace platform
