// What differs between the operating systems the component is built for,
// in one place: how a module marks its export, how printf-style checks are
// spelled and which separator paths use (files: platform_files.h).
// Everything else is written once for both.
#pragma once

#if defined(_WIN32)
// The module's one export; nothing else leaves the DLL.
#define TAVI_EXPORT __declspec(dllexport)
// The C library's printf here is the C99 one, not the system's.
#define TAVI_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define TAVI_EXPORT __attribute__((visibility("default")))
#define TAVI_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

namespace platform {

#if defined(_WIN32)
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

}  // namespace platform
