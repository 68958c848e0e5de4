#include "util/Log.h"
#include "util/LogRefusal.h"

#include <cstdarg>
#include <string_view>

#include "sdk/qel.h"
#include "util/Strings.h"

namespace util {

namespace {
const char* BaseName(const char* path) {
    const size_t last = std::string_view(path).find_last_of("/\\");
    return last == std::string_view::npos ? path : path + last + 1;
}
}  // namespace

void LogLine(int level, const char* file, int line, const char* format, ...) {
    if ((qel_log_get_level() & level) == 0) return;
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    text += Format("\t[%s:%d]\n", BaseName(file), line);
    qel_cxx_helper::internal::Log(level, text.c_str());
}

void LogRefusal(const char* file, int line, const char* format, int result) {
    if (result != 0) LogLine(kLogNormal, file, line, format, result);
}

void TraceLine(const char* channel, const char* format, ...) {
    if (!qel_is_trace_log_enable(channel)) return;
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    qel_cxx_helper::internal::Trace(channel, text.c_str());
}

}  // namespace util
