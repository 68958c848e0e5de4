// The bars over the history: where the history view moves to make room,
// the caption bar, the birthday and @-reminders, the group-top bar, and
// the status line under important messages.
#include <algorithm>

#include "ReadStateFixture.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"

namespace {

const char* const kTips[] = {"loginout", "birth_tip", "at_info", "grp_top_info",
                             "def_tip_ctn", "frddynamic", "collect_info"};

int32_t ViewTop(CControlUI* panel) {
    int32_t left = 0, top = 0, right = 0, bottom = 0, anchor = 0;
    sim::FindControl(panel, "history.view.viewrichedit")->GetCoordinate(left, top, right, bottom, anchor);
    return top;
}

}  // namespace

class TipBarsTest : public ReadStateWindowTest {
protected:

    // The tips that show, in the order of the layout.
    std::vector<std::string> Tips(HWND window) {
        std::vector<std::string> shown;
        for (const char* tip : kTips) {
            CControlUI* control = sim::FindControl(Panel(window), std::string("history.view.") + tip);
            if (control && sim::IsShown(control)) shown.push_back(tip);
        }
        return shown;
    }
    std::u16string Text(HWND window, const std::string& name) {
        CControlUI* control = sim::FindControl(Panel(window), name);
        return control ? control->GetText() : u"<missing>";
    }
    bool ClickOn(HWND window, const std::string& name) {
        return sim::Click(sim::FindControl(Panel(window), name));
    }
    qel_handle StoreGroupMsg(const std::string& sender, const std::string& extra = "", uint32_t flags = 0) {
        sim::StoredMsg msg;
        msg.sender = sender;
        msg.content = "news from " + sender;
        msg.extraInfo = extra;
        msg.flags = flags;
        return sim::AddStoredMsg(Group(), msg);
    }
};

TEST_F(TipBarsTest, HistoryViewMakesRoomForTipsAndTheMarquee) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    tavi::CTaviPanel* panel = Panel(window);
    EXPECT_TRUE(Tips(window).empty());
    EXPECT_EQ(ViewTop(panel), 0);

    panel->ShowViewTipContainer(u"at_info", true);
    EXPECT_EQ(ViewTop(panel), 24);
    panel->ShowViewTipContainer(u"at_info", false);
    EXPECT_EQ(ViewTop(panel), 0);

    // Under the marquee the view goes further down.
    sim::FindControl(panel, "history.view.frddynamic")->SetVisible(true);
    panel->ShowViewTipContainer(u"at_info", true);
    EXPECT_EQ(ViewTop(panel), 44);

    // A caption bar still showing keeps the room when another tip goes.
    panel->ShowViewTipContainer(u"frddynamic", false);
    panel->ShowCaptionBar(true);
    panel->ShowViewTipContainer(u"at_info", false);
    EXPECT_EQ(ViewTop(panel), 24);
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"loginout"}));
    EXPECT_TRUE(ClickOn(window, "IconButtoncancel"));
    EXPECT_EQ(ViewTop(panel), 0);
    EXPECT_TRUE(Tips(window).empty());

    // A tip the layout does not have changes nothing.
    panel->ShowViewTipContainer(u"no_such_tip", true);
    EXPECT_EQ(ViewTop(panel), 0);
    EXPECT_FALSE(panel->IsViewTipCtnVisible(u"no_such_tip"));
}

TEST_F(TipBarsTest, CaptionBarShowsTheLastLoginOrTheHostsText) {
    sim::SetText("#RECENTLY_ONLINE", "Online ");
    HWND window = Open(sim::ChatKind::Person, "bob");
    Component(window)->ShowCaptionBar(true);
    EXPECT_EQ(Text(window, "recenttime"), u"");
    EXPECT_TRUE(Panel(window)->IsCaptionBarShown());

    sim::SetLastLoginInterval("bob", 3 * 3600);
    Component(window)->ShowCaptionBar(true);
    EXPECT_EQ(Text(window, "recenttime"), u"Online 3 hours");
    EXPECT_EQ(sim::FindControl(Panel(window), "recenttime")->GetToolTip(), u"Online 3 hours");

    sim::SetRTLLayout(true);
    Component(window)->ShowCaptionBar(true);
    EXPECT_EQ(Text(window, "recenttime"), u"3 hoursOnline ");
    sim::SetRTLLayout(false);

    Component(window)->ShowCaptionBar(false);
    EXPECT_FALSE(Panel(window)->IsCaptionBarShown());
    EXPECT_TRUE(Tips(window).empty());

    Component(window)->SetCaptionBarText(u"Too many files");
    EXPECT_EQ(Text(window, "tipinfo"), u"Too many files");
    EXPECT_FALSE(sim::FindControl(Panel(window), "recenttime")->IsVisible());
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"loginout"}));
}

TEST_F(TipBarsTest, BirthdayReminderShowsInPersonChatsWhileABirthdayIsNear) {
    sim::SetBirthdayInDays("bob", 2);
    HWND window = Open(sim::ChatKind::Person, "bob");
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"birth_tip"}));
    EXPECT_TRUE(ClickOn(window, "birRemind"));
    ASSERT_FALSE(sim::SdkRequestsOf("birthday_page").empty());
    EXPECT_EQ(sim::SdkRequestsOf("birthday_page").back().value, "bob");
    EXPECT_TRUE(ClickOn(window, "cancelbirthRemind"));
    EXPECT_TRUE(Tips(window).empty());

    // The day after, the daily check finds nothing to remind of.
    Component(window)->ReflashBirthRemind();
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"birth_tip"}));
    sim::SetBirthdayInDays("bob", -1);
    sim::Advance(86400 * 1000u);
    EXPECT_TRUE(Tips(window).empty());

    // None in groups, nor on other protocols.
    sim::SetBirthdayInDays("bob", 0);
    HWND group = Open(sim::ChatKind::Group, "g1");
    EXPECT_TRUE(Tips(group).empty());
    sim::SetInstanceProtocol(u"qel_inst", "prpl-other");
    HWND person = Open(sim::ChatKind::Person, "bob");
    EXPECT_TRUE(Tips(person).empty());
    sim::SetInstanceProtocol(u"qel_inst", "prpl-kiv-ewr-intranet2");
    Component(person)->ReflashBirthRemind();
    EXPECT_EQ(Tips(person), (std::vector<std::string>{"birth_tip"}));
}

TEST_F(TipBarsTest, AtReminderNamesTheSenderAndLeadsToTheMessage) {
    qel_handle mention = StoreGroupMsg("bob");
    HWND window = Open(sim::ChatKind::Group, "g1");
    tavi::CTaviPanel* panel = Panel(window);
    panel->ShowAtInfoOnTop(u"mentioned you", u"bob");
    panel->SetAtReminderMsgId(qel_msg_get_id(mention));
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"at_info"}));
    EXPECT_EQ(Text(window, "history.view.at_info.AtRemind"), u"Bob mentioned you");
    EXPECT_EQ(Text(window, "history.view.at_info.UserId"), u"bob");
    EXPECT_EQ(sim::FindControl(panel, "AtInfoFace")->GetAttribute(u"avatar"), u"bob");

    for (int i = 0; i < 40; ++i) StoreGroupMsg("bob");
    Component(window)->GetAndShowMsg(0, 0);
    CRichEditExUI* view = panel->GetHistoryView();
    view->EndDown();
    ASSERT_GT(view->GetScrollPos(), 0);
    EXPECT_TRUE(ClickOn(window, "history.view.at_info.AtRemind"));
    CHARRANGE range;
    ASSERT_TRUE(view->GetMsgRange(int64_t(qel_msg_get_id(mention)), range));
    EXPECT_EQ(view->GetScrollPos(), std::min(view->GetCharTop(range.cpMin), view->GetScrollRange()));
    EXPECT_TRUE(ClickOn(window, "AtInfoFace"));
    ASSERT_FALSE(sim::ChatWndMgrCalls().empty());
    EXPECT_EQ(sim::ChatWndMgrCalls().back(), "open:person:bob");
    EXPECT_TRUE(ClickOn(window, "cancelAtRemind"));
    EXPECT_TRUE(Tips(window).empty());
}

TEST_F(TipBarsTest, GroupTopBarShowsTheNextUnreadUntilNoneIsLeft) {
    qel_handle older = StoreGroupMsg("bob", "", QEL_MSG_FLAG_GRP_TOP);
    qel_handle newer = StoreGroupMsg("carol", "", QEL_MSG_FLAG_GRP_TOP);
    HWND window = Open(sim::ChatKind::Group, "g1");
    Component(window)->UpdateGrpTopUnreadMsg();
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"grp_top_info"}));
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), qel_msg_get_id(newer));
    EXPECT_EQ(Text(window, "history.view.grp_top_info.GrpTopRemind"), u"carol news from carol");

    EXPECT_TRUE(ClickOn(window, "cancelGrpRemind"));
    sim::RunUntilIdle();
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), qel_msg_get_id(older));
    EXPECT_EQ(Tips(window), (std::vector<std::string>{"grp_top_info"}));

    // A refused dismissal keeps the bar as it is.
    sim::FailNextGrpTopRequest(-5);
    EXPECT_TRUE(ClickOn(window, "cancelGrpRemind"));
    sim::RunUntilIdle();
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), qel_msg_get_id(older));

    // Clicking the bar shows the message in the view and counts it as seen.
    EXPECT_TRUE(ClickOn(window, "history.view.grp_top_info.GrpTopRemind"));
    sim::RunUntilIdle();
    EXPECT_TRUE(Tips(window).empty());
    EXPECT_EQ(sim::GrpTopRequests(),
              (std::vector<std::string>{"cancel:" + std::to_string(qel_msg_get_id(newer)),
                                        "cancel:" + std::to_string(qel_msg_get_id(older)),
                                        "read:" + std::to_string(qel_msg_get_id(older))}));
}

TEST_F(TipBarsTest, GroupTopNoticesAndMessagesOutsideTheViewGoToTheHost) {
    qel_handle notice = StoreGroupMsg("bob", R"({"data_biz":"NoTiCe"})", QEL_MSG_FLAG_GRP_TOP);
    HWND window = Open(sim::ChatKind::Group, "g1");
    Component(window)->UpdateGrpTopUnreadMsg();
    EXPECT_TRUE(Tips(window).empty());
    ASSERT_FALSE(sim::AppCalls().empty());
    EXPECT_EQ(sim::AppCalls().back(), "grptop-notice:" + std::to_string(qel_msg_get_id(notice)));

    // A group-top message older than what the view shows opens apart.
    qel_handle outside = StoreGroupMsg("bob");
    Panel(window)->ShowUnreadGrpTopMsgOnTop(outside, u"old", u"bob");
    EXPECT_FALSE(Panel(window)->OnGrpTopMsgRemind());
    EXPECT_EQ(sim::AppCalls().back(), "show-msg:" + std::to_string(qel_msg_get_id(outside)));
}

TEST_F(TipBarsTest, GroupTopBarWithoutAnythingToShow) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::SetGrpTopOffered(false);
    StoreGroupMsg("bob", "", QEL_MSG_FLAG_GRP_TOP);
    Component(window)->UpdateGrpTopUnreadMsg();
    EXPECT_TRUE(Tips(window).empty());

    // An id the SDK does not know: the clicks do nothing.
    sim::SetGrpTopOffered(true);
    Panel(window)->ShowUnreadGrpTopMsgOnTop(nullptr, u"gone", u"bob");
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), 0u);
    sim::FindControl(Panel(window), "history.view.grp_top_info.ShowMsgId")->SetText(u"987654");
    EXPECT_FALSE(Panel(window)->OnGrpTopMsgRemind());
    EXPECT_TRUE(ClickOn(window, "cancelGrpRemind"));
    sim::RunUntilIdle();
    EXPECT_TRUE(sim::GrpTopRequests().empty());
}

// An account whose bus lacks the group-top service still shows the bar;
// dismissing it or reading its message asks nothing and keeps it.
TEST_F(TipBarsTest, GroupTopBarWithoutItsServiceStaysAsItIs) {
    qel_handle top = StoreGroupMsg("bob", "", QEL_MSG_FLAG_GRP_TOP);
    HWND window = Open(sim::ChatKind::Group, "g1");
    sim::SetGrpTopServiceAvailable(false);
    Component(window)->UpdateGrpTopUnreadMsg();
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), qel_msg_get_id(top));
    EXPECT_TRUE(ClickOn(window, "cancelGrpRemind"));
    EXPECT_TRUE(ClickOn(window, "history.view.grp_top_info.GrpTopRemind"));
    sim::RunUntilIdle();
    EXPECT_TRUE(sim::GrpTopRequests().empty());
    EXPECT_EQ(Panel(window)->GetCurShowGrpTopMsgId(), qel_msg_get_id(top));
}

TEST_F(TipBarsTest, ImportantMessageGetsOneStatusLineRefreshedInPlace) {
    qel_handle important = StoreGroupMsg("bob", "", QEL_MSG_FLAG_IMPORTANT);
    qel_handle local = StoreGroupMsg("bob", "", QEL_MSG_FLAG_IMPORTANT | QEL_MSG_FLAG_LOCAL);
    HWND window = Open(sim::ChatKind::Group, "g1");
    tavi::CTaviPanel* panel = Panel(window);
    CRichEditExUI* view = panel->GetHistoryView();
    panel->CreateImportantMsgStatus(important);
    panel->CreateImportantMsgStatus(local);
    const std::u16string statusId = u"importantmsg-status-" + sim::ToWide(std::to_string(qel_msg_get_id(important)));
    CControlUI* status = view->FindSubControl(statusId);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(sim::FindControl(status, "status")->GetText(), u"Waiting for confirmation");
    EXPECT_EQ(view->FindSubControl(u"importantmsg-status-" + sim::ToWide(std::to_string(qel_msg_get_id(local)))),
              nullptr);

    EXPECT_EQ(sim::FindControl(status, "status")->GetAttribute(u"txt.color"), u"999999");

    sim::SetMsgFlags(important, QEL_MSG_FLAG_IMPORTANT_CONFIRM, 0);
    const int redraws = view->GetInvalidateCount();
    panel->CreateImportantMsgStatus(important);
    EXPECT_GT(view->GetInvalidateCount(), redraws);
    EXPECT_EQ(view->FindSubControl(statusId), status);
    EXPECT_EQ(sim::FindControl(status, "status")->GetText(), u"Confirmed");
    const auto items = sim::ViewItems(view);
    EXPECT_EQ(std::count_if(items.begin(), items.end(),
                            [view](const sim::ViewItem& i) { return !sim::ShownControlText(view, i.id).empty(); }),
              1);
}
