// A CRLF is one paragraph mark in the rich edit however it arrives: in one
// insertion or split over two, as a draft kept in pieces is put back.
#include "sdk/ui/RichEditUI.h"
#include "ui/UiTestSupport.h"

TEST_F(UiTest, ACrLfSplitOverTwoInsertionsIsOneParagraphMark) {
    CRichEditUI edit;
    edit.InsertText(u"one\r\ntwo\r");
    edit.InsertText(u"\nthree");
    EXPECT_EQ(edit.GetText(), u"one\rtwo\rthree");

    // An LF after anything else, or at the start, stays.
    CRichEditUI other;
    other.InsertText(u"\n");
    other.InsertText(u"a");
    other.InsertText(u"\n");
    EXPECT_EQ(other.GetText(), u"\na\n");

    // Only the character before the caret counts.
    CRichEditUI middle;
    middle.InsertText(u"x\ry");
    middle.SetSel(1, 1);
    middle.InsertText(u"\nz");
    EXPECT_EQ(middle.GetText(), u"x\nz\ry");
}
