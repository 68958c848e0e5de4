// The stand-in's file side: drops as the platform hands them out, the
// open dialog's answer in the platform's layout.
#include <gtest/gtest.h>

#include "sim/core/Text.h"
#include "support/FreshWorld.h"

namespace {

using FilesTest = support::FreshWorldTest;

TEST_F(FilesTest, ADropTellsItsCountAndCutsPathsToTheBuffer) {
    HDROP drop = sim::MakeDrop({u"/a/one.png", u"/b/two.txt"});
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 1, nullptr, 0), 10u);
    char16_t small[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(DragQueryFileW(drop, 0, small, 5), 10u);
    EXPECT_EQ(std::u16string(small), u"/a/o");
    EXPECT_EQ(DragQueryFileW(drop, 2, small, 5), 0u);
    EXPECT_EQ(DragQueryFileW(nullptr, 0xFFFFFFFFu, nullptr, 0), 0u);
    EXPECT_FALSE(sim::IsDropFinished(drop));
    DragFinish(drop);
    EXPECT_TRUE(sim::IsDropFinished(drop));
}

TEST_F(FilesTest, SeveralChosenFilesComeBackAsTheFolderAndTheirNames) {
    sim::QueueFileDialogAnswer({u"/pics/a.png", u"/pics/b.png"});
    sim::QueueFileDialogAnswer({u"/pics/a.png", u"/pics/b.png"});
    std::u16string buffer(64, u'\0');
    OPENFILENAMEW dialog;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = 64;
    dialog.Flags = OFN_ALLOWMULTISELECT;
    ASSERT_TRUE(GetOpenFileNameW(&dialog));
    EXPECT_EQ(buffer.substr(0, 20), std::u16string(u"/pics\0a.png\0b.png\0\0", 19) + u'\0');
    dialog.Flags = 0;
    EXPECT_FALSE(GetOpenFileNameW(&dialog));  // one file only
    EXPECT_FALSE(GetSaveFileNameW(&dialog));  // nothing queued: cancelled
    ASSERT_EQ(sim::FileDialogs().size(), 3u);
    EXPECT_EQ(sim::FileDialogs()[2].kind, "save");
}

}  // namespace
