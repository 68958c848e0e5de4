#include <gtest/gtest.h>

#include "msghandle/MsgExtraInfo.h"
#include "sdk/common_content.h"
#include "sim/driver.h"

using namespace tavi;

namespace {

SMsgExtraInfo Parse(const std::string& json, bool expectOk = true) {
    SMsgExtraInfo info;
    info.m_strConvId = "stale";
    EXPECT_EQ(ParseMsgExtraInfo(json, info), expectOk) << json;
    return info;
}

TEST(MsgExtraInfo, ReadsEveryKey) {
    const SMsgExtraInfo info = Parse(
        R"({"convid":"c1","cmsgid":18446744073709551615,"fsid":"f","imsgid":7,"splang":"en","langres":"r",)"
        R"("contentat":"u1,u2","spplat":"p","langtemplate":"t","msgtimer":"30","unreadnum":9,)"
        R"("important_confirm_time":"123","data_biz":"{}","other":[1]})");
    EXPECT_EQ(info.m_strConvId, "c1");
    EXPECT_EQ(info.m_nCMsgId, 18446744073709551615ull);
    EXPECT_EQ(info.m_strFsId, "f");
    EXPECT_EQ(info.m_nIMsgId, 7u);
    EXPECT_EQ(info.m_strSpLang, "en");
    EXPECT_EQ(info.m_strLangRes, "r");
    EXPECT_EQ(info.m_strContentAt, "u1,u2");
    EXPECT_EQ(info.m_strSpPlat, "p");
    EXPECT_EQ(info.m_strLangTemplate, "t");
    EXPECT_EQ(info.m_strMsgTimer, "30");
    EXPECT_EQ(info.m_nUnreadNum, 9);
    EXPECT_EQ(info.m_strImportantConfirmTime, "123");
    EXPECT_EQ(info.m_strDataBiz, "{}");
}

TEST(MsgExtraInfo, MissingKeysWrongTypesAndNonJsonGiveDefaults) {
    const SMsgExtraInfo defaults;
    EXPECT_EQ(defaults.m_nUnreadNum, -1);
    EXPECT_EQ(Parse("{}"), defaults);
    EXPECT_EQ(Parse(R"({"contentat":"all"})").m_nUnreadNum, -1);
    for (const char* text : {"", "not json", "[1,2]", "\"text\"", "42", R"({"convid":"c"} trailing)", "{\"a\":"}) {
        EXPECT_EQ(Parse(text, false), defaults);
    }
    const SMsgExtraInfo wrong = Parse(
        R"({"convid":7,"cmsgid":"12","imsgid":-5,"unreadnum":1.5,"contentat":null,"fsid":{"x":1},"msgtimer":[]})");
    EXPECT_EQ(wrong, defaults);
    EXPECT_EQ(Parse(R"({"cmsgid":2.0,"unreadnum":5000000000})"), defaults);
    EXPECT_EQ(Parse(R"({"unreadnum":3.0})"), defaults);
    EXPECT_EQ(Parse(R"({"unreadnum":-3,"cmsgid":0})").m_nUnreadNum, -3);
    std::string deep(100000, '[');
    EXPECT_EQ(Parse("{\"a\":" + deep, false), defaults);
}

// A record nested 128 deep still reads; one level more is refused at
// once, without the reader's own limit. Brackets in strings are text.
TEST(MsgExtraInfo, NestingIsCappedCountingOnlyBracketsOutsideStrings) {
    const auto nested = [](int depth, const std::string& before = R"("convid":"c")") {
        return "{" + before + R"(,"a":)" + std::string(size_t(depth - 1), '[') + std::string(size_t(depth - 1), ']') +
               "}";
    };
    EXPECT_EQ(Parse(nested(128)).m_strConvId, "c");
    EXPECT_EQ(Parse(nested(129), false).m_strConvId, "");
    std::string objects = R"({"convid":"c"})";
    for (int depth = 1; depth < 129; ++depth) objects = R"({"a":)" + objects + "}";
    EXPECT_EQ(Parse(objects, false), SMsgExtraInfo());

    // Depth, not the count of containers: three hundred side by side read.
    std::string siblings = R"({"convid":"c","a":[)";
    for (int i = 0; i < 150; ++i) siblings += "[],{},";
    EXPECT_EQ(Parse(siblings + "0]}").m_strConvId, "c");

    const std::string brackets(300, '[');
    EXPECT_EQ(Parse(R"({"convid":"x\")" + brackets + R"(","a":[{"b":"\"}"}]})").m_strConvId, "x\"" + brackets);
    // An escaped backslash ends nothing: the quote after it closes the string.
    EXPECT_EQ(Parse(nested(129, R"("convid":"\\")"), false).m_strConvId, "");
    EXPECT_EQ(Parse(nested(128, R"("convid":"\\")")).m_strConvId, "\\");

    // A quote in a comment hides the brackets after it from the count; the
    // reader's own limit still turns the record away.
    EXPECT_EQ(Parse(nested(300, R"("convid":"c" /* " */)"), false).m_strConvId, "");
    EXPECT_EQ(Parse(nested(128, R"("convid":"c" /* " */)")).m_strConvId, "c");

    SAttachmentRecord record;
    EXPECT_FALSE(ReadAttachmentRecord(nested(129), record));
    EXPECT_TRUE(ReceiptGoesToAll(nested(128, R"("receiptto":"all")")));
    EXPECT_FALSE(ReceiptGoesToAll(nested(129, R"("receiptto":"all")")));
    EXPECT_EQ(SetExtraInfoUnreadNum(nested(129), 3), R"({"unreadnum":3})");
}

TEST(MsgExtraInfo, UnreadCountIsWrittenBesideTheOtherKeys) {
    EXPECT_EQ(SetExtraInfoUnreadNum(R"({"convid":"c","unreadnum":2})", 9), R"({"convid":"c","unreadnum":9})");
    EXPECT_EQ(SetExtraInfoUnreadNum("junk", 9), R"({"unreadnum":9})");
}

TEST(AttachmentRecord, WritesAndReadsThePendingPictures) {
    const std::vector<SUploadItem> items{{"d1.jpg", "/home/u/\xE5\x9B\xBE.jpg", ""}, {"d2.gif", "/s/b.gif", "K\nd2"}};
    const std::string json = WriteAttachmentRecord(items, "u1,u2");
    EXPECT_EQ(json,
              R"({"AttachmentItems":[{"strFileKey":"d1.jpg","strFileName":"/home/u/)"
              "\xE5\x9B\xBE"
              R"(.jpg","strSmileyId":""},{"strFileKey":"d2.gif","strFileName":"/s/b.gif","strSmileyId":"K\nd2"}],)"
              R"("contentAt":"u1,u2"})");
    SAttachmentRecord record;
    ASSERT_TRUE(ReadAttachmentRecord(json, record));
    EXPECT_EQ(record.m_items, items);
    EXPECT_EQ(record.m_strContentAt, "u1,u2");
    EXPECT_EQ(WriteAttachmentRecord({}, ""), R"({"AttachmentItems":[],"contentAt":""})");
}

TEST(AttachmentRecord, MalformedRecordsReadWhatTheyCan) {
    SAttachmentRecord record;
    EXPECT_FALSE(ReadAttachmentRecord("{broken", record));
    EXPECT_TRUE(record.m_items.empty());
    ASSERT_TRUE(ReadAttachmentRecord(R"({"AttachmentItems":{"strFileKey":"a"},"contentAt":5})", record));
    EXPECT_TRUE(record.m_items.empty());
    EXPECT_EQ(record.m_strContentAt, "");
    ASSERT_TRUE(ReadAttachmentRecord(
        R"({"AttachmentItems":[3,{"strFileKey":1,"strFileName":"p"},{"strFileKey":"k","strFileName":2}]})", record));
    // Only an entry with a cache name names a picture to upload.
    ASSERT_EQ(record.m_items.size(), 1u);
    EXPECT_EQ(record.m_items[0], (SUploadItem{"k", "", ""}));
}

TEST(ContentSupport, ImageTypesAndEmojiTexts) {
    sim::ResetAll();
    EXPECT_EQ(common::Mime2ImgType(u"jpg"), u"jpeg");
    EXPECT_EQ(common::Mime2ImgType(u"PNG"), u"png");
    EXPECT_EQ(common::Mime2ImgType(u"tif"), u"tif");

    std::u16string text = u"unchanged";
    EXPECT_FALSE(common::EmojiIdToUTF16(u"nope", text));
    EXPECT_EQ(text, u"unchanged");
    ASSERT_TRUE(common::EmojiIdToUTF16(u"1f600", text));
    EXPECT_EQ(text.size(), 2u);
    ASSERT_TRUE(common::EmojiIdToUTF16(u"1f468-200d-1f469-200d-1f467", text));
    EXPECT_EQ(text.size(), 8u);
    sim::AddEmoji(u"nope", u"\u263A");
    EXPECT_TRUE(common::EmojiIdToUTF16(u"nope", text));
    sim::ResetAll();
    EXPECT_FALSE(common::EmojiIdToUTF16(u"nope", text));
}

}  // namespace
