#include "msghandle/EmojiMsgHandle.h"

#include "sdk/common_content.h"
#include "sdk/ui/OleObject.h"
#include "sdk/ui/UIDefs.h"

namespace tavi {

namespace {
const COleImageObj* ImageAt(const CStdPtrArray& objects, int index) {
    return static_cast<const COleImageObj*>(objects.GetAt(index));
}
bool IsEmoji(const COleImageObj* image) { return image && image->GetImageType() == kImageTypeEmoji; }
}  // namespace

int CEmojiMsgHandle::RestoreEmojiByKey(std::u16string& text, int32_t position, const std::u16string& key) {
    if (position < 0 || size_t(position) >= text.size()) return 0;
    std::u16string emoji;
    if (!common::EmojiIdToUTF16(key, emoji)) return 0;
    text.insert(size_t(position) + 1, emoji);
    text.erase(size_t(position), 1);
    return int(emoji.size());
}

std::u16string CEmojiMsgHandle::RestoreEmojiText(const std::u16string& text, const CStdPtrArray& objects,
                                                 std::vector<int32_t>& positions) {
    if (text.empty()) return text;
    for (int i = 0; i < objects.GetSize(); ++i) {
        const COleImageObj* image = ImageAt(objects, i);
        if (image && !IsEmoji(image)) positions.push_back(int32_t(image->GetCharPos()));
    }
    std::u16string result = text;
    // From the end, so the emoji still to be handled keep their positions.
    for (int i = objects.GetSize() - 1; i >= 0; --i) {
        const COleImageObj* image = ImageAt(objects, i);
        if (!IsEmoji(image)) continue;
        const int32_t at = int32_t(image->GetCharPos());
        const int written = RestoreEmojiByKey(result, at, image->GetKey());
        if (written <= 1) continue;
        for (int32_t& position : positions) {
            if (position >= at) position += written - 1;
        }
    }
    return result;
}

void CEmojiMsgHandle::RemoveEmojiItem(CStdPtrArray& objects) {
    CStdPtrArray kept;
    for (int i = 0; i < objects.GetSize(); ++i) {
        if (!IsEmoji(ImageAt(objects, i))) kept.Add(objects.GetAt(i));
    }
    objects = kept;
}

}  // namespace tavi
