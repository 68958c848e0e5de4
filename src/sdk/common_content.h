// The client common library's help with message contents: the image type
// word of a picture's MIME word, and the text of an emoji.
#pragma once

#include <string>

namespace common {

// The image type for a MIME word such as "jpg" (the "name" of a picture
// element is "img." followed by it).
std::u16string Mime2ImgType(const std::u16string& mime);

// The Unicode text of an emoji id; false when the id is not known.
bool EmojiIdToUTF16(const std::u16string& key, std::u16string& text);

}  // namespace common
