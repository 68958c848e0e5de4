// The registry of message handlers by handle id: the first handler of an id
// keeps it, and a mix-up of ids leaves its trace in the log.
#include <algorithm>

#include "ChatWindowFixture.h"
#include "util/Log.h"

namespace {

bool Logged(int level, const std::string& text) {
    const auto& lines = sim::LogLines();
    return std::any_of(lines.begin(), lines.end(), [&](const sim::LogEntry& line) {
        return line.level == level && line.text.rfind(text, 0) == 0;
    });
}

TEST_F(ChatWindowTest, AHandleIdBelongsToItsFirstHandlerAndMixUpsAreLogged) {
    sim::SetLogLevel(util::kLogNormal | util::kLogFailure);
    HWND bob = Open(sim::ChatKind::Person, "bob");
    HWND group = Open(sim::ChatKind::Group, "g1");
    tavi::CMsgHandle* first = Panel(bob)->GetMsgHandle();
    ASSERT_EQ(tavi::FindMsgHandle(u"bob"), first);
    EXPECT_FALSE(Logged(util::kLogFailure, "same id = "));

    tavi::AddMsgHandle(u"bob", Panel(group)->GetMsgHandle());
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), first);
    EXPECT_TRUE(Logged(util::kLogFailure, "same id = bob\t["));

    EXPECT_FALSE(Logged(util::kLogNormal, "can note find iter!"));
    tavi::RemoveMsgHandle(u"nobody");
    EXPECT_TRUE(Logged(util::kLogNormal, "can note find iter! id =nobody\t["));
    EXPECT_EQ(tavi::FindMsgHandle(u"nobody"), nullptr);

    sim::CloseChatWindow(bob);
    EXPECT_EQ(tavi::FindMsgHandle(u"bob"), nullptr);
    EXPECT_NE(tavi::FindMsgHandle(u"g1"), nullptr);
}

}  // namespace
