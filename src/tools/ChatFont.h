// The user's chat font as the account's preferences keep it, and the
// lists the font tools offer: installed families and custom colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/qel.h"
#include "sdk/win32.h"

struct tagTextFormat;

namespace tavi {

inline constexpr int32_t kDefaultChatFontSize = 12;
inline constexpr int32_t kMinChatFontSize = 6;
inline constexpr int32_t kMaxChatFontSize = 72;

// One font: face, size in points, the three effects (0 or 1) and a
// COLORREF. An empty face marks an entry not in use.
struct SChatFont {
    std::u16string face;
    int32_t size = 0;
    int32_t bold = 0;
    int32_t italic = 0;
    int32_t underline = 0;
    int32_t color = 0;
    friend bool operator==(const SChatFont&, const SChatFont&) = default;
};

// The UI resources' default face ("" without resources).
std::u16string DefaultFontName();

// The account's chat font, each value at its default when not stored
// (the default face, 12 points, no effects, colour 0), and made usable.
SChatFont ReadChatFont(qel_handle prefs);
// Stores all six values and saves the preferences.
void WriteChatFont(qel_handle prefs, const SChatFont& font);

// Stored values come from older clients and hand edits: a face that is
// not installed, a size outside 6..72 points or a colour beyond 24 bits is
// replaced by its default, and a log line names what was replaced. An
// empty face stays empty. Answers false when something was replaced.
bool MakeFontUsable(SChatFont& font, const char* where);

// The font as the input edit keeps it, and back.
SChatFont FontOfFormat(const tagTextFormat& format);
void ApplyFontToFormat(const SChatFont& font, tagTextFormat& format);

// The installed font families, sorted by plain UTF-16 comparison without
// duplicates; listed once per start of the module.
const std::vector<std::u16string>& InstalledFontNames();

// The colour dialog's 16 custom colours, shared by every panel.
COLORREF* CustomColors();

}  // namespace tavi
