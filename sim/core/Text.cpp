#include "sim/core/Text.h"

#include "sdk/qel.h"

namespace sim {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(char16_t(cp));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}
// How many bytes from `i` start a well-formed sequence that breaks off:
// one U+FFFD stands for all of them, as Unicode recommends, so that a
// damaged character does not turn into a row of them.
size_t MaximalSubpart(std::string_view in, size_t i, int extra) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if (extra <= 0 || c < 0xC2 || c > 0xF4) return 1;
    const unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    size_t k = 1;
    for (; k <= size_t(extra) && i + k < in.size(); ++k) {
        const unsigned char d = static_cast<unsigned char>(in[i + k]);
        if (k == 1 ? d < low || d > high : (d & 0xC0) != 0x80) break;
    }
    return k;
}
}  // namespace

std::u16string ToWide(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        // Ids, keys and paths are plain ASCII: copy such a run in one go.
        const size_t run = i;
        while (i < in.size() && static_cast<unsigned char>(in[i]) < 0x80) ++i;
        const size_t at = out.size();
        out.resize(at + (i - run));
        for (size_t k = run; k < i; ++k) out[at + k - run] = char16_t(in[k]);
        if (i == in.size()) break;
        const unsigned char c = static_cast<unsigned char>(in[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0) {
            AppendUtf16(out, kReplacement);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + size_t(k) >= in.size()) { ok = false; break; }
            const unsigned char d = static_cast<unsigned char>(in[i + size_t(k)]);
            if ((d & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (d & 0x3F);
        }
        const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : extra == 3 ? 0x10000 : 0;
        if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            AppendUtf16(out, kReplacement);
            i += MaximalSubpart(in, i, extra);
            continue;
        }
        AppendUtf16(out, cp);
        i += size_t(extra) + 1;
    }
    return out;
}

std::string ToUtf8(std::u16string_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char32_t cp = in[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace sim

extern "C" const char16_t* qel_utf8_to_unicode(const char* text) {
    thread_local std::u16string buffer;
    buffer = sim::ToWide(text);
    return buffer.c_str();
}

extern "C" const char* qel_unicode_to_utf8(const char16_t* text) {
    thread_local std::string buffer;
    buffer = sim::ToUtf8(text);
    return buffer.c_str();
}
