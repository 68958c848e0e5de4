#include <gtest/gtest.h>

#include "util/TextFormat.h"

namespace {

using util::FillPlaceholders;

TEST(FillPlaceholders, NumberedPlaceholdersTakeTheirOwnArgumentWhereverTheyStand) {
    // The send failure's text names the message before its time.
    EXPECT_EQ(FillPlaceholders(u"The message \"%2$s\" sent at %1$s could not be delivered: %3$s",
                               {u"10:02", u"hello", u"timeout"}),
              u"The message \"hello\" sent at 10:02 could not be delivered: timeout");
    EXPECT_EQ(FillPlaceholders(u"%3$s%1$s%2$s", {u"a", u"b", u"c"}), u"cab");
    EXPECT_EQ(FillPlaceholders(u"%1$s and %1$s again", {u"x", u"y"}), u"x and x again");
    EXPECT_EQ(FillPlaceholders(u"%9$s/%10$s", {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"nine", u"ten"}),
              u"nine/ten");
    // Any conversion letter of a number takes the text it was given.
    EXPECT_EQ(FillPlaceholders(u"%2$d of %1$u (%3$i)", {u"9", u"3", u"-1"}), u"3 of 9 (-1)");
}

TEST(FillPlaceholders, PlainPlaceholdersTakeTheArgumentsInOrder) {
    EXPECT_EQ(FillPlaceholders(u"%d unread", {u"3"}), u"3 unread");
    EXPECT_EQ(FillPlaceholders(u"%s: %s", {u"first", u"second"}), u"first: second");
    EXPECT_EQ(FillPlaceholders(u"ERRCODE_%d", {u"5"}), u"ERRCODE_5");
    // A text without placeholders comes out as it is, whatever was passed.
    EXPECT_EQ(FillPlaceholders(u"IDS_SEND_MSG_FAIL_DETAIL", {u"a", u"b"}), u"IDS_SEND_MSG_FAIL_DETAIL");
    EXPECT_EQ(FillPlaceholders(u"", {u"a"}), u"");
}

TEST(FillPlaceholders, WhatCannotBeFilledStaysAsItStands) {
    // More placeholders than arguments: the rest stay visible, nothing is
    // read beyond what was passed.
    EXPECT_EQ(FillPlaceholders(u"%s %s %s", {u"one"}), u"one %s %s");
    EXPECT_EQ(FillPlaceholders(u"%4$s|%2$s", {u"a", u"b"}), u"%4$s|b");
    EXPECT_EQ(FillPlaceholders(u"%1$s", {}), u"%1$s");
    // Not placeholders at all.
    EXPECT_EQ(FillPlaceholders(u"50% off", {u"x"}), u"50% off");
    EXPECT_EQ(FillPlaceholders(u"%x %0$s %1$ %1s %99999$s %", {u"a"}), u"%x %0$s %1$ %1s %99999$s %");
    EXPECT_EQ(FillPlaceholders(u"%1$q%s", {u"a"}), u"%1$qa");
    EXPECT_EQ(FillPlaceholders(u"%1xs %$s", {u"a"}), u"%1xs %$s");
    // Up to four digits name an argument; more are no placeholder.
    EXPECT_EQ(FillPlaceholders(u"%0002$s %00002$s", {u"a", u"b"}), u"b %00002$s");
    EXPECT_EQ(FillPlaceholders(u"trailing %1", {u"a"}), u"trailing %1");
    // A text ends where it ends, also when more follows in memory.
    const std::u16string_view longer = u"%1$s";
    for (size_t cut = 1; cut < longer.size(); ++cut) {
        EXPECT_EQ(FillPlaceholders(longer.substr(0, cut), {u"a"}), longer.substr(0, cut));
    }
    EXPECT_EQ(FillPlaceholders(std::u16string_view(u"%s", 1), {u"a"}), u"%");
}

TEST(FillPlaceholders, PercentSignsAndArgumentTextsComeOutLiterally) {
    EXPECT_EQ(FillPlaceholders(u"100%% sure, %s", {u"bob"}), u"100% sure, bob");
    EXPECT_EQ(FillPlaceholders(u"%%s", {u"bob"}), u"%s");
    // An argument that looks like a placeholder is never filled itself.
    EXPECT_EQ(FillPlaceholders(u"%s and %s", {u"%s", u"%1$s"}), u"%s and %1$s");
    // Any character, also beyond the first plane, passes unchanged.
    EXPECT_EQ(FillPlaceholders(u"\u00e9 %1$s \U0001F600", {u"\u4f60\U0001F601"}), u"\u00e9 \u4f60\U0001F601 \U0001F600");
}

}  // namespace
