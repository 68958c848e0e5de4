// A request refused at once, for which the log is the only witness: the
// line, formatted with the result, is written only for a result other than 0.
#pragma once

#include "util/Log.h"

namespace util {

void LogRefusal(const char* file, int line, const char* format, int result);

}  // namespace util

#define TAVI_LOG_REFUSAL(format, result) ::util::LogRefusal(__FILE__, __LINE__, format, result)
