// The client common library's content helpers: image type words and the
// emoji table.
#include <map>
#include <string>

#include "sdk/common_content.h"
#include "sim/core/Reset.h"
#include "sim/driver.h"

namespace sim {

namespace {
struct EmojiState {
    std::map<std::u16string, std::u16string> texts{
        {u"2764", u"\u2764"},
        {u"1f600", u"\U0001F600"},
        {u"1f44d-1f3fb", u"\U0001F44D\U0001F3FB"},
        {u"1f468-200d-1f469-200d-1f467", u"\U0001F468\u200D\U0001F469\u200D\U0001F467"},
    };
};

EmojiState& State() {
    static EmojiState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = EmojiState{}; });
}  // namespace

void AddEmoji(const std::u16string& key, const std::u16string& text) { State().texts[key] = text; }

}  // namespace sim

namespace common {

std::u16string Mime2ImgType(const std::u16string& mime) {
    static const std::map<std::u16string, std::u16string> kTypes{
        {u"jpg", u"jpeg"}, {u"JPG", u"jpeg"}, {u"jpeg", u"jpeg"}, {u"JPEG", u"jpeg"},
        {u"gif", u"gif"},  {u"GIF", u"gif"},  {u"png", u"png"},   {u"PNG", u"png"},
        {u"bmp", u"bmp"},  {u"BMP", u"bmp"},
    };
    auto it = kTypes.find(mime);
    return it == kTypes.end() ? mime : it->second;
}

bool EmojiIdToUTF16(const std::u16string& key, std::u16string& text) {
    const auto& texts = sim::State().texts;
    auto it = texts.find(key);
    if (it == texts.end()) return false;
    text = it->second;
    return true;
}

}  // namespace common
