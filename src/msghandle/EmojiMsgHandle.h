// Emoji in the input are embedded pictures that take one character each;
// in a message they must be their Unicode text again, which may take
// several UTF-16 units. This turns an edit's text back into message text
// and keeps the positions of the other pictures right meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CStdPtrArray;

namespace tavi {

// The picture type of an emoji object in a rich edit.
inline constexpr int kImageTypeEmoji = 2;

class CEmojiMsgHandle {
public:
    // The text with every known emoji written out. `positions` receives the
    // character index of every other picture of `objects`, in array order,
    // as it stands in the result.
    static std::u16string RestoreEmojiText(const std::u16string& text, const CStdPtrArray& objects,
                                           std::vector<int32_t>& positions);
    // Replaces the placeholder at `position` by the emoji's text; the
    // number of units written, 0 when nothing was replaced.
    static int RestoreEmojiByKey(std::u16string& text, int32_t position, const std::u16string& key);
    // Leaves only the pictures that still need sending.
    static void RemoveEmojiItem(CStdPtrArray& objects);
};

}  // namespace tavi
