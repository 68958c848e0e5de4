// The panel's view modes and the friend-dynamics marquee, with the news
// control that slides its lines.
#include "SendFixture.h"

#include "controls/NewsAnimeUI.h"

namespace {

struct Pos {
    int32_t left, top, right, bottom, anchor;
    bool operator==(const Pos&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pos& p) {
    return out << "(" << p.left << "," << p.top << "," << p.right << "," << p.bottom << " @" << p.anchor << ")";
}

class ViewModeTest : public SendTest {
protected:
    static Pos PosOf(HWND window, const char16_t* name) {
        CControlUI* control = Panel(window)->FindSubControl(name);
        Pos p{};
        if (control) control->GetCoordinate(p.left, p.top, p.right, p.bottom, p.anchor);
        return p;
    }
    static bool Visible(HWND window, const char16_t* name) {
        CControlUI* control = Panel(window)->FindSubControl(name);
        return control && control->IsVisible();
    }
    // Every control a mode may move, with its coordinates and visibility.
    static std::vector<std::pair<Pos, bool>> Layout(HWND window) {
        std::vector<std::pair<Pos, bool>> all;
        for (const char16_t* name :
             {u"input", u"history", u"splitter", u"history.view.def_tip_ctn", u"history.view.loginout",
              u"history.view.viewrichedit", u"input.toolbk", u"input.left", u"input.left.imageediter",
              u"input.right", u"input.mask", u"input.msg_button", u"input.msg_button.sendmsg",
              u"input.msg_button.sendmsgmenu", u"input.left.message", u"input.msg_button.close"})
            all.push_back({PosOf(window, name), Visible(window, name)});
        return all;
    }
    static CControlUI* Find(HWND window, const char16_t* name) { return Panel(window)->FindSubControl(name); }
};

TEST_F(ViewModeTest, MiniAndThinModesUseTheirColumnsAndNormalModeRestoresTheOther) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    const auto normal = Layout(window);
    EXPECT_EQ(PosOf(window, u"input"), (Pos{0, 150, 0, 0, 6}));
    EXPECT_EQ(PosOf(window, u"input.msg_button.sendmsg"), (Pos{91, 29, 30, 5, 2}));

    Component(window)->SetPanelMode(1);
    const std::pair<const char16_t*, Pos> mini[] = {
        {u"input", {0, 64, 0, 0, 6}},
        {u"history", {0, 0, 0, 64, 8}},
        {u"history.view.def_tip_ctn", {0, 0, 0, 0, 4}},
        {u"history.view.loginout", {0, 0, 0, 0, 4}},
        {u"history.view.viewrichedit", {6, 1, 1, 0, 8}},
        {u"input.toolbk", {0, 0, 0, 34, 4}},
        {u"input.left", {1, 0, 155, 34, 7}},
        {u"input.right", {0, 0, 0, 0, 1}},
        {u"input.mask", {156, 2, 84, 32, 8}},
        {u"input.msg_button", {84, 0, 0, 34, 5}},
        {u"input.msg_button.sendmsg", {5, -1, 55, 22, 9}},
        {u"input.msg_button.sendmsgmenu", {60, -1, 19, 22, 9}},
    };
    for (const auto& [name, pos] : mini) EXPECT_EQ(PosOf(window, name), pos) << sim::ToUtf8(name);
    EXPECT_FALSE(Visible(window, u"splitter"));
    EXPECT_FALSE(Visible(window, u"input.left.imageediter"));

    Component(window)->SetPanelMode(0);
    EXPECT_TRUE(Visible(window, u"splitter"));
    const std::pair<const char16_t*, Pos> normalColumn[] = {
        {u"input", {0, 150, 0, 0, 6}},
        {u"history", {0, 0, 0, 150, 8}},
        {u"history.view.def_tip_ctn", {0, 0, 0, 24, 4}},
        {u"history.view.loginout", {0, 0, 0, 24, 4}},
        {u"input.toolbk", {0, 0, 0, 28, 4}},
        {u"input.left", {1, 2, 75, 26, 4}},
        {u"input.right", {95, 2, 2, 26, 1}},
        {u"input.mask", {0, 0, 0, 34, 8}},
        {u"input.msg_button", {0, 34, 0, 0, 6}},
        {u"input.msg_button.sendmsg", {91, 29, 30, 5, 2}},
        {u"input.msg_button.sendmsgmenu", {30, 29, 11, 5, 2}},
    };
    for (const auto& [name, pos] : normalColumn) EXPECT_EQ(PosOf(window, name), pos) << sim::ToUtf8(name);
    // The normal column is what the panel started with; the rich edit and
    // the image editor button keep what mini mode gave them.
    auto restored = Layout(window);
    restored[5] = normal[5];
    restored[8] = normal[8];
    EXPECT_EQ(restored, normal);

    // Thin mode narrows the tool bar and drops the close button and the tips.
    Find(window, u"history.view.def_tip_ctn")->SetVisible(true);
    Component(window)->SetPanelMode(2);
    EXPECT_EQ(PosOf(window, u"input.left"), (Pos{1, 2, 0, 26, 4}));
    EXPECT_TRUE(Visible(window, u"input.left.message"));
    EXPECT_FALSE(Visible(window, u"history.view.def_tip_ctn"));
    EXPECT_FALSE(Visible(window, u"input.msg_button.close"));
}

TEST_F(ViewModeTest, ViewsMoveHistoryAndInputAndOtherModesOnlyStore) {
    HWND window = Open(sim::ChatKind::Group, "g1");
    const auto before = Layout(window);
    Component(window)->SetView(u"chat");
    Component(window)->SetView(nullptr);
    Component(window)->SetPanelMode(3);
    Component(window)->SetPanelMode(-1);
    EXPECT_EQ(Layout(window), before);

    const int paints = Panel(window)->GetInvalidateCount();
    Component(window)->SetView(u"only_edit");
    EXPECT_GT(Panel(window)->GetInvalidateCount(), paints);  // redrawn in the new layout
    EXPECT_EQ(Panel(window)->GetViewMode(), u"only_edit");
    EXPECT_EQ(PosOf(window, u"history"), (Pos{0, 0, 0, 0, 4}));
    EXPECT_EQ(PosOf(window, u"input"), (Pos{0, 0, 0, 1, 8}));
    EXPECT_FALSE(Visible(window, u"splitter"));
    // The font bar takes its room from the bottom of the messages and gives it back.
    const Pos view = PosOf(window, u"history.view");
    Panel(window)->OnBtnFont();
    Pos opened = view;
    opened.bottom += 30;
    EXPECT_EQ(PosOf(window, u"history.view"), opened);
    Panel(window)->OnBtnFont();
    EXPECT_EQ(PosOf(window, u"history.view"), view);
    Component(window)->SetView(u"only_view");
    EXPECT_EQ(PosOf(window, u"history"), (Pos{0, 0, 0, 1, 8}));
    EXPECT_EQ(PosOf(window, u"input"), (Pos{0, 0, 0, 0, 6}));
}

class MarqueeTest : public ViewModeTest {
protected:
    static std::u16string Line(HWND window) { return Find(window, u"layout.eventinfo")->GetText(); }
    static bool Shown(HWND window) { return Visible(window, u"history.view.frddynamic"); }
    // The lines the marquee shows over `ms`, each change once.
    static std::vector<std::u16string> Watch(HWND window, uint32_t ms) {
        std::vector<std::u16string> lines;
        std::u16string last;
        bool wasShown = false;
        for (uint32_t t = 0; t <= ms; t += 20) {
            if (Shown(window) && (!wasShown || Line(window) != last)) lines.push_back(Line(window));
            wasShown = Shown(window);
            last = Line(window);
            sim::Advance(20);
        }
        return lines;
    }
    static void AddThree(HWND window) {
        Component(window)->AddMarqueeMsg(u"09:00", u"one");
        Component(window)->AddMarqueeMsg(u"10:00", u"two");
        Component(window)->AddMarqueeMsg(u"11:00", u"three");
    }
};

TEST_F(MarqueeTest, ThreeEntriesTwoRoundsShowSixLinesOncePerConversationAndModuleStart) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    AddThree(window);
    EXPECT_FALSE(Shown(window));
    Component(window)->ShowFrdEvent(1, 2);
    EXPECT_TRUE(Shown(window));
    EXPECT_EQ(Find(window, u"layout.time")->GetText(), u"09:00");
    EXPECT_EQ(Watch(window, 40000),
              (std::vector<std::u16string>{u"one", u"two", u"three", u"one", u"two", u"three"}));
    EXPECT_FALSE(Shown(window));
    EXPECT_TRUE(Component(window)->IsFrdEventDisplayed());
    EXPECT_EQ(PosOf(window, u"history.view.viewrichedit"), (Pos{6, 0, 1, 0, 8}));
    Component(window)->ShowFrdEvent(1, 2);  // finished for the rest of the process
    EXPECT_FALSE(Shown(window));

    sim::CloseChatWindow(window);
    HWND again = Open(sim::ChatKind::Person, "bob");
    AddThree(again);
    Component(again)->ShowFrdEvent(1, 1);
    EXPECT_FALSE(Shown(again));
    EXPECT_TRUE(Component(again)->IsFrdEventDisplayed());
    HWND group = Open(sim::ChatKind::Group, "g1");
    EXPECT_FALSE(Component(group)->IsFrdEventDisplayed());

    // Restarting the module forgets finished marquees.
    support::ChatWorld::CloseWindows();
    m_module->Uninit();
    m_module->Init(sim::GetHost());
    HWND restarted = Open(sim::ChatKind::Person, "bob");
    EXPECT_FALSE(Component(restarted)->IsFrdEventDisplayed());
    Component(restarted)->AddMarqueeMsg(u"09:00", u"one");
    Component(restarted)->ShowFrdEvent(1, 1);
    EXPECT_TRUE(Shown(restarted));
}

TEST_F(MarqueeTest, MarqueeMakesRoomBelowATipAndGivesItBackWhenHidden) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    AddThree(window);
    Component(window)->ShowFrdEvent(1, 3);
    EXPECT_EQ(PosOf(window, u"history.view.viewrichedit"), (Pos{6, 20, 1, 0, 8}));
    EXPECT_EQ(PosOf(window, u"history.view.frddynamic"), (Pos{0, 0, 0, 24, 4}));
    Find(window, u"history.view.loginout")->SetVisible(true);
    Panel(window)->UpdateFrddymicPanel(true);
    EXPECT_EQ(PosOf(window, u"history.view.viewrichedit"), (Pos{6, 44, 1, 0, 8}));
    EXPECT_EQ(PosOf(window, u"history.view.frddynamic"), (Pos{0, 24, 0, 44, 4}));
    Component(window)->ShowFrdEvent(0, 0);
    EXPECT_FALSE(Shown(window));
    EXPECT_EQ(PosOf(window, u"history.view.viewrichedit"), (Pos{6, 24, 1, 0, 8}));
    // Hidden by the host, the marquee neither runs on nor counts as finished.
    sim::Advance(20000);
    EXPECT_FALSE(Shown(window));
    EXPECT_FALSE(Component(window)->IsFrdEventDisplayed());
}

TEST_F(MarqueeTest, NoRoundsNoEntriesOrEmptyEntriesShowNothingAndMarkupStaysText) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    Component(window)->ShowFrdEvent(1, 2);  // nothing handed over yet
    EXPECT_FALSE(Shown(window));
    Component(window)->AddMarqueeMsg(u"08:00", u"");
    Component(window)->AddMarqueeMsg(nullptr, nullptr);
    Component(window)->ShowFrdEvent(1, 2);
    EXPECT_FALSE(Shown(window));
    Component(window)->AddMarqueeMsg(nullptr, u"<b>bold</b> & {c #ff0000}");
    for (int rounds : {0, -3}) {
        Component(window)->ShowFrdEvent(1, rounds);
        EXPECT_FALSE(Shown(window));
        sim::Advance(10000);
        EXPECT_FALSE(Shown(window));
    }
    Component(window)->ShowFrdEvent(1, 1);
    EXPECT_TRUE(Shown(window));
    EXPECT_EQ(Line(window), u"<b>bold</b> & {c #ff0000}");
    EXPECT_EQ(Find(window, u"layout.time")->GetText(), u"");
    sim::Advance(10000);
    EXPECT_FALSE(Shown(window));
    EXPECT_TRUE(Component(window)->IsFrdEventDisplayed());
}

TEST_F(MarqueeTest, ClosingTheWindowMidSlideStopsTheMarquee) {
    HWND window = Open(sim::ChatKind::Person, "bob");
    AddThree(window);
    Component(window)->ShowFrdEvent(1, 5);
    sim::Advance(3100);  // a slide is under way
    sim::CloseChatWindow(window);
    sim::Advance(30000);
    EXPECT_TRUE(sim::OpenChatWindows().empty());
}

TEST_F(MarqueeTest, NewsControlCrossFadesAndTellsItsOwnerOnlyOfFinishedSlides) {
    EXPECT_NE(std::find(sim::RegisteredControlClasses().begin(), sim::RegisteredControlClasses().end(), "NewAnime"),
              sim::RegisteredControlClasses().end());
    HWND window = Open(sim::ChatKind::Person, "bob");
    auto* marquee = dynamic_cast<tavi::CNewsAnimeUI*>(Find(window, u"history.view.frddynamic"));
    ASSERT_NE(marquee, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(marquee->GetClassName()),
                 reinterpret_cast<const char*>(u"NewAnime"));
    EXPECT_EQ(marquee->GetOwner(), Panel(window));
    AddThree(window);
    Component(window)->ShowFrdEvent(1, 1);
    ASSERT_EQ(Line(window), u"one");

    // Only finished page changes move the marquee on.
    CAction other(400, 10);
    other.SetState(UIACTION_FINISHED);
    marquee->OnActionStateChanged(&other);
    marquee->OnActionStep(&other, 5);
    EXPECT_EQ(Line(window), u"one");
    CControlUI* page = Find(window, u"layout");
    TransitionAnimation slide(page, page, 400, 10);
    slide.SetState(UIACTION_FINISHED);
    marquee->OnActionStateChanged(&slide);
    EXPECT_EQ(Line(window), u"two");
    EXPECT_EQ(marquee->GetTransition()->GetSlideType(), SlideTransition::SLIDE_UP);
    marquee->FinishAnimation();

    // A slide of its own: out fades from opaque, in from transparent.
    auto* bare = static_cast<tavi::CNewsAnimeUI*>(sim::CreateRegisteredControl("NewAnime"));
    ASSERT_NE(bare, nullptr);
    auto* first = new CLabelUI;
    auto* second = new CLabelUI;
    bare->Add(first);
    bare->Add(second);
    ASSERT_TRUE(bare->StartTransition(1));
    EXPECT_EQ(first->GetAlpha(), 255);
    EXPECT_EQ(second->GetAlpha(), 0);
    sim::Advance(160);  // four of ten frames
    EXPECT_EQ(first->GetAlpha(), 153);
    EXPECT_EQ(second->GetAlpha(), 102);
    sim::Advance(400);  // finished without an owner: the slide just ends
    EXPECT_FALSE(bare->IsAnimating());
    EXPECT_EQ(bare->GetCurPage(), 1);
    EXPECT_FALSE(first->IsVisible());  // the container's own ending still runs
    EXPECT_EQ(first->GetAlpha(), 255);
    EXPECT_TRUE(second->IsVisible());
    CControlUI::Destroy(bare);
}

}  // namespace

namespace {

// The stand-in's transition container as the marquee drives it.
TEST_F(MarqueeTest, SlidesReplayTheShownPageAndARewindFinishesNothing) {
    struct Counting : CTransitionUI {
        int finished = 0;
        void OnActionStateChanged(CAction* action) override {
            CTransitionUI::OnActionStateChanged(action);
            if (action->GetState() == UIACTION_FINISHED) ++finished;
        }
    };
    auto* container = new Counting;
    auto* page = new CLabelUI;
    container->Add(page);
    container->GetTransition()->SetParam(40, 10, 0, 0, 0);
    EXPECT_EQ(container->GetTransition()->GetDuration(), 400u);
    EXPECT_FALSE(container->SelectPage(0));
    ASSERT_TRUE(container->StartTransition(0));  // the shown page slides out and in again
    sim::Advance(200);
    container->RewindAnimation();
    EXPECT_FALSE(container->IsAnimating());
    sim::Advance(1000);
    EXPECT_EQ(container->finished, 0);
    EXPECT_TRUE(page->IsVisible());
    ASSERT_TRUE(container->StartTransition(0));
    sim::Advance(400);
    EXPECT_EQ(container->finished, 1);
    EXPECT_TRUE(page->IsVisible());
    EXPECT_EQ(page->GetAlpha(), 255);
    EXPECT_EQ(container->GetSlideCount(), 2);
    EXPECT_FALSE(container->StartTransition(1));
    CControlUI::Destroy(container);
}

}  // namespace
