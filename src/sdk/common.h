// The client common library: configuration values by section and key.
#pragma once

#include <string>

namespace common {

int GetEXEConfig(const char16_t* section, const char16_t* key, int defaultValue);
std::u16string GetEXEConfigStr(const char16_t* section, const char16_t* key, const char16_t* defaultValue);
int GetModuleConfig(const char16_t* section, const char16_t* key, int defaultValue);
std::u16string GetModuleConfigStr(const char16_t* section, const char16_t* key, const char16_t* defaultValue);

}  // namespace common
