#include "tools/ChatFont.h"

#include <algorithm>
#include <array>

#include "module/DllObject.h"
#include "sdk/qel_account.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr const char* kFaceKey = "SystemInfo.ChatFont.FontName";
constexpr const char* kSizeKey = "SystemInfo.ChatFont.FontSize";
constexpr const char* kBoldKey = "SystemInfo.ChatFont.Bold";
constexpr const char* kItalicKey = "SystemInfo.ChatFont.Italic";
constexpr const char* kUnderlineKey = "SystemInfo.ChatFont.Underline";
constexpr const char* kColorKey = "SystemInfo.ChatFont.Color";
constexpr size_t kFaceCapacity = sizeof(tagTextFormat::szFaceName) / sizeof(char16_t);

int CollectFontName(const LOGFONTW* font, const void*, uint32_t, intptr_t user) {
    if (font) reinterpret_cast<std::vector<std::u16string>*>(user)->emplace_back(font->lfFaceName);
    return 1;
}

std::vector<std::u16string> EnumerateFontNames() {
    std::vector<std::u16string> names;
    HDC dc = GetDC(nullptr);
    LOGFONTW filter;
    filter.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &filter, &CollectFontName, reinterpret_cast<intptr_t>(&names), 0);
    ReleaseDC(nullptr, dc);
    std::stable_sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool IsKnownFace(const std::u16string& face) {
    if (face == DefaultFontName()) return true;
    const auto& names = InstalledFontNames();
    return std::binary_search(names.begin(), names.end(), face);
}

}  // namespace

std::u16string DefaultFontName() {
    IUIRes* res = GetUIRes();
    return res ? res->GetDefaultFontName() : std::u16string();
}

const std::vector<std::u16string>& InstalledFontNames() {
    CDllObject* state = GetDllObject();
    if (!state) {
        // Without the module's state there is nothing to keep the list in.
        static std::vector<std::u16string> unkept;
        unkept = EnumerateFontNames();
        return unkept;
    }
    if (!state->m_bFontNamesLoaded) {
        state->m_fontNames = EnumerateFontNames();
        state->m_bFontNamesLoaded = true;
    }
    return state->m_fontNames;
}

COLORREF* CustomColors() {
    if (CDllObject* state = GetDllObject()) return state->m_customColors.data();
    static std::array<uint32_t, 16> unkept;
    unkept.fill(0xFFFFFFu);
    return unkept.data();
}

bool MakeFontUsable(SChatFont& font, const char* where) {
    bool usable = true;
    if (!font.face.empty() && (font.face.size() >= kFaceCapacity || !IsKnownFace(font.face))) {
        TAVI_LOG_FAIL("%s: font face '%s' is not installed, using the default", where,
                      util::WideToUtf8(font.face).c_str());
        font.face = DefaultFontName();
        usable = false;
    }
    if (font.size != 0 && (font.size < kMinChatFontSize || font.size > kMaxChatFontSize)) {
        TAVI_LOG_FAIL("%s: font size %d is out of range, using %d", where, font.size, kDefaultChatFontSize);
        font.size = kDefaultChatFontSize;
        usable = false;
    }
    if (uint32_t(font.color) > 0xFFFFFFu) {
        TAVI_LOG_FAIL("%s: font colour 0x%x is not a colour, using black", where, uint32_t(font.color));
        font.color = 0;
        usable = false;
    }
    font.bold = font.bold != 0;
    font.italic = font.italic != 0;
    font.underline = font.underline != 0;
    return usable;
}

SChatFont ReadChatFont(qel_handle prefs) {
    SChatFont font;
    const std::u16string fallback = DefaultFontName();
    const char16_t* face = prefs ? qel_preference_get_wstr(prefs, kFaceKey, fallback.c_str()) : fallback.c_str();
    font.face = util::SafeWide(face);
    font.size = prefs ? qel_preference_get_int(prefs, kSizeKey, kDefaultChatFontSize) : kDefaultChatFontSize;
    if (prefs) {
        font.bold = qel_preference_get_int(prefs, kBoldKey, 0);
        font.italic = qel_preference_get_int(prefs, kItalicKey, 0);
        font.underline = qel_preference_get_int(prefs, kUnderlineKey, 0);
        font.color = qel_preference_get_int(prefs, kColorKey, 0);
    }
    MakeFontUsable(font, "ReadChatFont");
    return font;
}

void WriteChatFont(qel_handle prefs, const SChatFont& font) {
    if (!prefs) return;
    qel_preference_set_wstr(prefs, kFaceKey, font.face.c_str());
    qel_preference_set_int(prefs, kSizeKey, font.size);
    qel_preference_set_int(prefs, kBoldKey, font.bold);
    qel_preference_set_int(prefs, kItalicKey, font.italic);
    qel_preference_set_int(prefs, kUnderlineKey, font.underline);
    qel_preference_set_int(prefs, kColorKey, font.color);
    qel_preference_save(prefs, 0);
}

SChatFont FontOfFormat(const tagTextFormat& format) {
    SChatFont font;
    const char16_t* end = std::find(std::begin(format.szFaceName), std::end(format.szFaceName), u'\0');
    font.face.assign(std::begin(format.szFaceName), end);
    font.size = format.nSize;
    font.bold = (format.dwEffects & TF_BOLD) != 0;
    font.italic = (format.dwEffects & TF_ITALIC) != 0;
    font.underline = (format.dwEffects & TF_UNDERLINE) != 0;
    font.color = int32_t(format.crColor);
    return font;
}

void ApplyFontToFormat(const SChatFont& font, tagTextFormat& format) {
    std::fill(std::begin(format.szFaceName), std::end(format.szFaceName), u'\0');
    std::copy_n(font.face.begin(), std::min(font.face.size(), kFaceCapacity - 1), format.szFaceName);
    format.nSize = font.size;
    format.dwEffects &= ~(TF_BOLD | TF_ITALIC | TF_UNDERLINE);
    if (font.bold) format.dwEffects |= TF_BOLD;
    if (font.italic) format.dwEffects |= TF_ITALIC;
    if (font.underline) format.dwEffects |= TF_UNDERLINE;
    format.crColor = uint32_t(font.color);
}

}  // namespace tavi
