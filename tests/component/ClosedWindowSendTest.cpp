// Sends whose pieces settle after their window closed: whatever fails is
// told in a tip and kept as a failed record, in the order of the send,
// so that the user finds it, and can send it again, when the chat opens.
#include "SendFixture.h"

#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "sim/host/DisplayInternal.h"

namespace {

class ClosedWindowSendTest : public SendTest {
protected:
    static qel_handle Conversation() { return sim::OpenConversation("bob"); }

    struct Record {
        std::string summary;
        bool failed = false;
        uint64_t id = 0;
    };
    // The conversation's stored messages, oldest first.
    static std::vector<Record> Records() {
        qel_cxx_helper::HandleArray records;
        std::vector<Record> result;
        if (qel_conversation_get_page_record(Conversation(), 0, UINT64_MAX, 0, 1000, 1, records.out_list(),
                                             records.out_count(), 0) != 0) {
            return result;
        }
        for (int i = records.count() - 1; i >= 0; --i) {
            const _QelMsgData* data = qel_msg_get_data(records[i]);
            result.push_back({data && data->summary ? data->summary : "", qel_ext::QelMsgIsSendFail(records[i]),
                              qel_msg_get_id(records[i])});
        }
        return result;
    }
    static Record FailedRecord() {
        for (const Record& record : Records()) {
            if (record.failed) return record;
        }
        return {};
    }
    // Each record as the first letter of its summary, "!" behind a failed one.
    static std::string FirstLetters(const std::vector<Record>& records) {
        std::string letters;
        for (const Record& record : records) {
            letters += record.summary.empty() ? '?' : record.summary[0];
            if (record.failed) letters += '!';
        }
        return letters;
    }
};

TEST_F(ClosedWindowSendTest, PictureThatCouldNotGoAfterTheCloseIsKeptAsFailed) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    // Two pieces with a picture each: the second waits behind the first's upload.
    AddPicture(window, WritePng("one.png", 3, 3));
    Type(window, std::u16string(1100, u'b'));
    AddPicture(window, WritePng("two.png", 4, 4));
    Type(window, u"end");
    sim::HoldCompletions(true);
    ClickSend(window);
    sim::CloseChatWindow(window);
    // The second picture is refused once the first piece has gone.
    sim::RefuseNext(sim::SdkCall::Upload, -9979);
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();

    ASSERT_EQ(Sends().size(), 1u);
    EXPECT_EQ(sim::AppTips().size(), 1u);
    EXPECT_EQ(tavi::GetSendingMsgCount(), 0);
    // Stored: the first piece as sent, and the rest of the text as failed.
    const Record failed = FailedRecord();
    ASSERT_GE(failed.summary.size(), 231u);
    EXPECT_EQ(failed.summary.substr(0, 228), std::string(228, 'b'));
    EXPECT_EQ(failed.summary.substr(failed.summary.size() - 3), "end");
    EXPECT_EQ(Records().size(), 2u);

    // It goes again from the reopened chat, its picture uploaded first.
    window = Open(sim::ChatKind::Person, "bob");
    tavi::CMsgHandle* handler = Handler(window);
    const uint64_t failedId = FailedRecord().id;
    const size_t uploads = sim::SdkRequestsOf("upload").size();
    handler->OnReSendMsg(View(window), Input(window), sim::ToWide(std::to_string(failedId)));
    EXPECT_EQ(sim::SdkRequestsOf("upload").size(), uploads + 1);
    sim::RunUntilIdle();
    ASSERT_EQ(Sends().size(), 2u);
    EXPECT_NE(Sends()[1].content.find("key-"), std::string::npos);
}

TEST_F(ClosedWindowSendTest, PendingPictureThatFailedMakesWayForAFailedRecordInOrder) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    // The text piece goes at once; the picture piece is stored as pending.
    Type(window, std::u16string(1024, u'a') + u"zz");
    AddPicture(window, WritePng("p.png", 3, 3));
    sim::HoldCompletions(true);
    sim::FailNext(sim::SdkCall::Upload, -5);
    ClickSend(window);
    EXPECT_EQ(FirstLetters(Records()), "z");  // the pending piece, stored first
    sim::CloseChatWindow(window);
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();

    // The pending record is gone; the failed one stands behind the first piece.
    EXPECT_EQ(FirstLetters(Records()), "az!");
    ASSERT_EQ(sim::AppTips().size(), 1u);

    // With the window open the bubble is marked under the failed record's id.
    window = Open(sim::ChatKind::Person, "bob");
    sim::FailNext(sim::SdkCall::Upload, -5);
    Type(window, u"q");
    AddPicture(window, WritePng("q.png", 5, 5));
    ClickSend(window);
    sim::RunUntilIdle();
    ASSERT_EQ(sim::FailMarks().size(), 1u);
    const uint64_t failedId = Records().back().id;
    EXPECT_EQ(sim::FailMarks()[0].msgIdText, sim::ToWide(std::to_string(failedId)));
    EXPECT_EQ(FirstLetters(Records()), "az!q!");
}

}  // namespace
