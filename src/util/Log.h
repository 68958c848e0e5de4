// Log lines and scope traces of the component, written through the SDK's
// logger. A line is written only when the logger's level has its bit; it
// ends with "\t[file:line]\n".
#pragma once

#include "sdk/platform.h"
#include "sdk/qel_ext.h"

namespace util {

constexpr int kLogNormal = 8;
constexpr int kLogFailure = 1;

void LogLine(int level, const char* file, int line, const char* format, ...) TAVI_PRINTF_FORMAT(4, 5);
// The send path's second channel, written only while the SDK enables it.
void TraceLine(const char* channel, const char* format, ...) TAVI_PRINTF_FORMAT(2, 3);

}  // namespace util

#define TAVI_LOG(...) ::util::LogLine(::util::kLogNormal, __FILE__, __LINE__, __VA_ARGS__)
#define TAVI_LOG_FAIL(...) ::util::LogLine(::util::kLogFailure, __FILE__, __LINE__, __VA_ARGS__)

#define TAVI_SCOPE_CAT2(a, b) a##b
#define TAVI_SCOPE_CAT(a, b) TAVI_SCOPE_CAT2(a, b)
// The scope trace of an operation: TAVI_SCOPE("CMsgHandle::OnSendMsg");
#define TAVI_SCOPE(name) ::Performance::Clocker TAVI_SCOPE_CAT(taviScope_, __LINE__)(name)
