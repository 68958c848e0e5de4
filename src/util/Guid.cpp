#include "util/Guid.h"

#include "util/Strings.h"

namespace util {

std::u16string FormatGuid(const pfx::GUID& g) {
    return WFormat("{%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned long>(g.Data1),
                   unsigned(g.Data2), unsigned(g.Data3), unsigned(g.Data4[0]), unsigned(g.Data4[1]),
                   unsigned(g.Data4[2]), unsigned(g.Data4[3]), unsigned(g.Data4[4]), unsigned(g.Data4[5]),
                   unsigned(g.Data4[6]), unsigned(g.Data4[7]));
}

}  // namespace util
