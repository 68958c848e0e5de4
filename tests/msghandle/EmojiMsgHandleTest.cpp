// Emoji pictures of the input written back as their text.
#include <gtest/gtest.h>

#include "msghandle/EmojiMsgHandle.h"
#include "sdk/ui/RichEditUI.h"
#include "support/FreshWorld.h"

namespace {

using tavi::CEmojiMsgHandle;

COleImageObj* Object(int type, const std::u16string& key) {
    auto* object = new COleImageObj();
    object->SetImageType(type);
    object->SetKey(key);
    return object;
}

class EmojiTest : public support::FreshWorldTest {
protected:
    std::u16string Restore(std::vector<int32_t>& positions) {
        CStdPtrArray objects;
        m_edit.GetImageObj(objects);
        return CEmojiMsgHandle::RestoreEmojiText(m_edit.GetText(), objects, positions);
    }

    CRichEditUI m_edit;
};

TEST_F(EmojiTest, EmojiTextTakesItsPlaceAndMovesLaterPictures) {
    m_edit.InsertText(u"a");
    m_edit.InsertObject(Object(2, u"1f600"));
    m_edit.InsertText(u"b");
    m_edit.InsertObject(Object(0, u""));
    std::vector<int32_t> positions;
    EXPECT_EQ(Restore(positions), u"a\U0001F600b\uFFFC");
    EXPECT_EQ(positions, std::vector<int32_t>{4});
}

TEST_F(EmojiTest, UnknownEmojiKeepsItsPlaceholder) {
    m_edit.InsertObject(Object(2, u"nope"));
    m_edit.InsertObject(Object(0, u""));
    std::vector<int32_t> positions;
    EXPECT_EQ(Restore(positions), u"\uFFFC\uFFFC");
    EXPECT_EQ(positions, std::vector<int32_t>{1});
}

TEST_F(EmojiTest, PositionOutsideTheTextIsLeftAlone) {
    std::u16string text = u"ab";
    EXPECT_EQ(CEmojiMsgHandle::RestoreEmojiByKey(text, 2, u"1f600"), 0);
    EXPECT_EQ(CEmojiMsgHandle::RestoreEmojiByKey(text, -1, u"1f600"), 0);
    EXPECT_EQ(CEmojiMsgHandle::RestoreEmojiByKey(text, 0, u"nope"), 0);  // an unknown key writes nothing
    EXPECT_EQ(text, u"ab");
    EXPECT_EQ(CEmojiMsgHandle::RestoreEmojiByKey(text, 1, u"1f44d-1f3fb"), 4);
    EXPECT_EQ(text, u"a\U0001F44D\U0001F3FB");
}

TEST_F(EmojiTest, RemoveKeepsPicturesInOrder) {
    COleImageObj first, second, emoji1, emoji2;
    emoji1.SetImageType(2);
    emoji2.SetImageType(2);
    second.SetImageType(3);
    CStdPtrArray objects;
    for (COleImageObj* object : {&first, &emoji1, &emoji2, &second}) objects.Add(object);
    CEmojiMsgHandle::RemoveEmojiItem(objects);
    ASSERT_EQ(objects.GetSize(), 2);
    EXPECT_EQ(objects[0], &first);
    EXPECT_EQ(objects[1], &second);
}

}  // namespace
