// What a peer may send that no client of ours would: damaged UTF-8,
// control characters, CRLF line ends, megabyte bodies, XML that is
// broken or nested beyond reason. Each is shown once, keeps its text, and
// survives every operation the history offers on it.
#include "SendFixture.h"

#include "sdk/qel_ext_api.h"

namespace {

enum : int32_t { kRecallItem = 50014, kQuoteItem = 50015, kCollectItem = 50016, kTranslateItem = 50020 };

class HostileDataTest : public SendTest {
protected:
    static qel_handle Group() { return sim::OpenConversation("g1", true); }

    // Right-clicks the message and picks the item when the menu offers it.
    static void Pick(HWND window, int64_t id, int32_t itemId) {
        TPointUI point;
        if (!sim::PointAtMsg(View(window), id, false, point)) return;
        const size_t menus = sim::ShownMenus().size();
        sim::NotifyAt(View(window), UINOTIFY_RCLICK, point);
        if (sim::ShownMenus().size() == menus) return;
        sim::ClickMenuItem(itemId);
        sim::RunUntilIdle();
    }
    static std::u16string Shown(HWND window, uint64_t id) {
        std::u16string text;
        size_t times = 0;
        for (const sim::ViewItem& item : Items(window, "msg")) {
            if (item.id != int64_t(id)) continue;
            text = item.text;
            ++times;
        }
        EXPECT_EQ(times, 1u) << "message " << id;
        return text;
    }
};

TEST_F(HostileDataTest, DamagedTextIsShownOnceWithWhatCanBeRead) {
    sim::AddGroup("g1");
    sim::AddGroupMember("g1", "bob");
    struct Case {
        std::string body;
        std::u16string expected;  // a part of what is shown
    };
    const std::vector<Case> cases{
        {"a\xC3(b \xF0\x9F\x98 end", u"a\uFFFD(b \uFFFD end"},
        {"one\r\ntwo", u"one\r\ntwo"},  // the view's one line break, not two
        {"bell\x07 esc\x1b[31m", u"esc"},
    };
    std::vector<uint64_t> ids;
    for (const Case& c : cases) ids.push_back(qel_msg_get_id(sim::DeliverIncomingMsg(Group(), c.body, "text/plain", "bob")));
    HWND window = Open(sim::ChatKind::Group, "g1");
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const std::u16string shown = Shown(window, ids[i]);
        std::string codes;
        for (char16_t c : shown) codes += std::to_string(int(c)) + " ";
        EXPECT_NE(shown.find(cases[i].expected), std::u16string::npos) << codes;
    }
}

TEST_F(HostileDataTest, HugeBrokenAndDeepBodiesSurviveEveryOperation) {
    sim::AddGroup("g1");
    sim::AddGroupMember("g1", "bob");
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<div>";
    const std::vector<std::pair<std::string, std::string>> bodies{
        {"text/plain", std::string(1200 * 1024, 'x') + "\xFF" + "tail"},
        {"rich/xml", "<div><span>open"},
        {"rich/xml", deep + "deep"},
        {"img/xml", "<img src=\"\x01\" width=\"wide\" height=\"-9999999999999\"/>"},
        {"rich/xml", "<div><span>\xC0\xAF</span><img width=\"1e999\" md5=\"\"/></div>"},
    };
    std::vector<uint64_t> ids;
    for (const auto& [type, body] : bodies) {
        ids.push_back(qel_msg_get_id(sim::DeliverIncomingMsg(Group(), body, type, "bob")));
    }
    HWND window = Open(sim::ChatKind::Group, "g1");
    const std::u16string huge = Shown(window, ids[0]);
    EXPECT_GE(huge.size(), 1200u * 1024u);
    EXPECT_NE(huge.find(u"\uFFFDtail"), std::u16string::npos);
    for (uint64_t id : ids) {
        for (int32_t item : {kQuoteItem, kCollectItem, kTranslateItem, kRecallItem}) Pick(window, int64_t(id), item);
    }
    for (uint64_t id : ids) Shown(window, id);
}

}  // namespace
