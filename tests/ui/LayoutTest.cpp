#include "ui/UiTestSupport.h"

namespace {

class CountingPanel : public CCompositeUI {
public:
    void OnCreate() override { ++created; }
    void OnDestroy() override { ++destroyed; }
    int created = 0;
    int destroyed = 0;
};

class MarkedEdit : public CRichEditExUI {
public:
    const char16_t* GetClassName() const override { return u"RichEditWithTool"; }
};

const char* const kPanelNames[] = {
    "history.view.viewrichedit", "history.view", "history.bk", "history", "splitter", "input", "input.left",
    "input.chatrichedit", "input.left.font", "input.left.syspic", "input.left.emoticon", "input.left.takephoto",
    "input.left.capture", "input.left.imageediter", "input.left.shake", "history.view.loginout",
    "history.view.bottompanel", "history.view.unread_msg", "history.view.birth_tip", "history.view.at_info",
    "history.view.grp_top_info", "history.view.def_tip_ctn", "history.view.frddynamic", "history.view.collect_info",
    "input.msg_button.sendmsg", "input.msg_button.sendmsgmenu", "input.msg_button.close", "input.left.receivetype",
    "input.left.message", "history.popup", "layout.time", "layout.eventinfo", "tipinfo", "recenttime",
    "IconButtoncancel", "history.view.at_info.AtRemind", "history.view.grp_top_info.GrpTopRemind", "showmoremsg",
    "bottom_panel_info", "add_collect_tag", "input.toolbk", "input.right", "input.mask"};

}  // namespace

TEST_F(UiTest, PanelLayoutHasEveryControlWithIdsAndVisibility) {
    auto window = sim::CreateHostWindow("host", 800, 600);
    auto* panel = new CountingPanel;
    ASSERT_TRUE(panel->Create(u"tavi", window->GetRoot()));
    EXPECT_EQ(panel->created, 1);
    EXPECT_EQ(panel->GetWindow(), window.get());
    for (const char* name : kPanelNames) EXPECT_NE(sim::FindControl(panel, name), nullptr) << name;

    // Ids are the last part of the name unless the layout says otherwise.
    EXPECT_EQ(sim::FindControl(panel, "history.view.viewrichedit")->GetId(), u"viewrichedit");
    EXPECT_EQ(sim::FindControl(panel, "input.msg_button.sendmsg")->GetId(), u"sendmsg");
    EXPECT_EQ(sim::FindControl(panel, "history.view.at_info.AtRemind")->GetId(), u"AtRemind");
    EXPECT_NE(dynamic_cast<CRichEditExUI*>(sim::FindControl(panel, "history.view.viewrichedit")), nullptr);
    EXPECT_NE(dynamic_cast<CRichEditUI*>(sim::FindControl(panel, "input.chatrichedit")), nullptr);

    EXPECT_FALSE(sim::IsShown(sim::FindControl(panel, "history.view.loginout")));
    EXPECT_FALSE(sim::IsShown(sim::FindControl(panel, "tipinfo")));  // hidden with its tip
    EXPECT_TRUE(sim::IsShown(sim::FindControl(panel, "input.left.font")));
    EXPECT_TRUE(SetItemVisible(panel, u"history.view.loginout", true));
    EXPECT_TRUE(sim::IsShown(sim::FindControl(panel, "tipinfo")));
    EXPECT_FALSE(SetItemVisible(panel, u"no.such.control", true));

    // The input area is a band of 150 along the bottom; the splitter sits just above it.
    const RECT input = sim::ControlRect(sim::FindControl(panel, "input"));
    EXPECT_EQ(input.top, 450);
    EXPECT_EQ(input.bottom, 600);
    EXPECT_EQ(input.right, 800);
    const RECT splitter = sim::ControlRect(sim::FindControl(panel, "splitter"));
    EXPECT_EQ(splitter.top, 450);
    EXPECT_EQ(splitter.bottom, 452);
    const RECT history = sim::ControlRect(sim::FindControl(panel, "history"));
    EXPECT_EQ(history.bottom, 450);

    CControlUI* inputArea = sim::FindControl(panel, "input");
    inputArea->SetCoordinate(0, 33, 0, 0, UIANCHOR_FILL);
    EXPECT_EQ(sim::ControlRect(inputArea).top, 33);
    EXPECT_EQ(sim::ControlRect(inputArea).bottom, 600);

    EXPECT_TRUE(window->GetRoot()->Remove(panel));
}

TEST_F(UiTest, RemovingAPanelRunsOnDestroyOnceBeforeItGoes) {
    struct Panel : CCompositeUI {
        explicit Panel(std::vector<std::string>* log) : m_log(log) {}
        void OnDestroy() override { m_log->push_back(sim::FindControl(this, "shake") ? "destroy+child" : "destroy"); }
        ~Panel() override { m_log->push_back("deleted"); }
        std::vector<std::string>* m_log;
    };
    std::vector<std::string> log;
    auto window = sim::CreateHostWindow();
    auto* panel = new Panel(&log);
    ASSERT_TRUE(panel->Create(u"IDD_SHAKE_MSG_PANEL", window->GetRoot()));
    EXPECT_NE(sim::FindControl(window.get(), "shake"), nullptr);
    EXPECT_TRUE(window->GetRoot()->Remove(panel));
    EXPECT_EQ(log, (std::vector<std::string>{"destroy+child", "deleted"}));
    EXPECT_EQ(sim::FindControl(window.get(), "shake"), nullptr);
}

TEST_F(UiTest, RegisteredClassesBuildTheirControlsAndFallBackOtherwise) {
    auto* plain = new CCompositeUI;
    ASSERT_TRUE(plain->Create(u"tavi", nullptr));
    CControlUI* view = sim::FindControl(plain, "history.view.viewrichedit");
    EXPECT_STREQ(reinterpret_cast<const char*>(view->GetClassName()), reinterpret_cast<const char*>(u"RichEditEx"));
    CControlUI::Destroy(plain);

    ASSERT_TRUE(GetUIEngine()->RegisterControl(u"RichEditWithTool", [] () -> CControlUI* { return new MarkedEdit; }));
    auto* panel = new CCompositeUI;
    ASSERT_TRUE(panel->Create(u"tavi", nullptr));
    view = sim::FindControl(panel, "history.view.viewrichedit");
    EXPECT_NE(dynamic_cast<MarkedEdit*>(view), nullptr);
    EXPECT_EQ(view->GetName(), u"history.view.viewrichedit");
    CControlUI::Destroy(panel);
}

TEST_F(UiTest, CreateExAppliesAttributesAfterTheLayout) {
    auto window = sim::CreateHostWindow();
    auto* panel = new CCompositeUI;
    ASSERT_TRUE(panel->CreateEx(u"IDD_SHAKE_MSG_PANEL", window->GetRoot(),
                                {{u"name", u"plugin-7"}, {u"id", u"plugin-7"}, {u"skin", u"dark"}}));
    EXPECT_EQ(panel->GetId(), u"plugin-7");
    EXPECT_EQ(panel->GetAttribute(u"skin"), u"dark");
    EXPECT_EQ(sim::HostWndMgr()->FindCtrl(window->GetHWND(), u"plugin-7"), panel);
}

TEST_F(UiTest, MissingOrMalformedLayoutsFailWithoutAddingAnything) {
    AddScratchResources();
    Write("layout/broken.xml", "<Layout><Button name=\"a\"></Layout>");
    Write("layout/truncated.xml", std::string("<Layout><Label text=\"") + "\xF4");
    Write("layout/notxml.xml", "just words");
    Write("layout/empty.xml", "");
    auto window = sim::CreateHostWindow();
    for (const char16_t* id : {u"broken", u"truncated", u"notxml", u"empty", u"missing", u""}) {
        auto* panel = new CountingPanel;
        EXPECT_FALSE(panel->Create(id, window->GetRoot()));
        EXPECT_EQ(panel->created, 0);
        EXPECT_EQ(panel->GetParent(), nullptr);
        CControlUI::Destroy(panel);
    }
    EXPECT_EQ(window->GetRoot()->GetCount(), 0);
    auto* panel = new CCompositeUI;
    EXPECT_FALSE(panel->Create(nullptr, nullptr));
    delete panel;
}

TEST_F(UiTest, ScratchLayoutsMapElementsAndKeepUnknownAttributes) {
    AddScratchResources();
    Write("layout/mine.xml",
          "<Layout name=\"root\"><VerticalLayout name=\"a.b\" custom=\"x\" visible=\"false\">"
          "<Button name=\"a.b.c\" id=\"C\" tooltip=\"tip\" pos=\"1,2,3,4\" anchor=\"0\"/></VerticalLayout>"
          "<Unknown name=\"u\"><Label name=\"inner\"/></Unknown></Layout>");
    auto* panel = new CCompositeUI;
    ASSERT_TRUE(panel->Create(u"mine", nullptr));
    CControlUI* ab = sim::FindControl(panel, "a.b");
    EXPECT_NE(dynamic_cast<CVerticalLayoutUI*>(ab), nullptr);
    EXPECT_EQ(ab->GetAttribute(u"custom"), u"x");
    EXPECT_FALSE(ab->IsVisible());
    CControlUI* c = sim::FindControl(panel, "C");  // by id
    ASSERT_NE(dynamic_cast<CButtonUI*>(c), nullptr);
    EXPECT_EQ(c->GetToolTip(), u"tip");
    EXPECT_EQ(sim::ControlRect(c).right, 3);
    EXPECT_NE(sim::FindControl(panel, "inner"), nullptr);
    CControlUI::Destroy(panel);
}

TEST_F(UiTest, ContainersRefuseCyclesAndSecondParents) {
    auto window = sim::CreateHostWindow();
    auto* outer = new CContainerUI;
    auto* inner = new CContainerUI;
    ASSERT_TRUE(window->GetRoot()->Add(outer));
    ASSERT_TRUE(outer->Add(inner));
    EXPECT_FALSE(inner->Add(window->GetRoot()));
    EXPECT_FALSE(inner->Add(inner));
    EXPECT_FALSE(window->GetRoot()->Add(inner));  // already has a parent
    EXPECT_FALSE(inner->Add(nullptr));
    EXPECT_TRUE(outer->RemoveNoDestroy(inner));
    EXPECT_EQ(inner->GetWindow(), nullptr);
    EXPECT_TRUE(window->GetRoot()->AddAt(inner, 0));
    EXPECT_EQ(window->GetRoot()->GetItemIndex(inner), 0);
    EXPECT_EQ(inner->GetWindow(), window.get());
    EXPECT_EQ(window->FindControl(u""), nullptr);
    EXPECT_EQ(sim::FindControl(window.get(), ""), nullptr);
}

TEST_F(UiTest, AbsurdlyDeepLayoutsAreRefused) {
    AddScratchResources();
    std::string xml = "<Layout>";
    for (int i = 0; i < 200; ++i) xml += "<Container>";
    for (int i = 0; i < 200; ++i) xml += "</Container>";
    Write("layout/deep.xml", xml + "</Layout>");
    auto* panel = new CCompositeUI;
    EXPECT_FALSE(panel->Create(u"deep", nullptr));
    EXPECT_EQ(panel->GetCount(), 0);
    CControlUI::Destroy(panel);
}

TEST_F(UiTest, AttributesAndWindowAttributesRoundTrip) {
    CControlUI control;
    control.SetAttribute(u"name", u"input.left.capture");
    EXPECT_EQ(control.GetId(), u"capture");
    control.SetAttribute(u"txt.color", u"999999");
    control.SetAttribute(u"pos", u"1,2,3");  // a short list leaves the rest 0
    control.SetAttribute(u"anchor", u"junk");
    int32_t l, t, r, b, a;
    control.GetCoordinate(l, t, r, b, a);
    EXPECT_EQ((std::vector<int32_t>{l, t, r, b, a}), (std::vector<int32_t>{1, 2, 3, 0, 0}));
    EXPECT_EQ(control.GetAttribute(u"txt.color"), u"999999");
    EXPECT_TRUE(control.HasAttribute(u"txt.color"));
    EXPECT_EQ(control.GetAttribute(u"missing"), u"");
    control.SetAttribute(u"visible", u"false");
    EXPECT_EQ(control.GetAttribute(u"visible"), u"false");

    CWindowExUI window;
    window.SetWindowAttribute(u"msghead", u"42");
    EXPECT_EQ(window.GetWindowAttribute(u"msghead"), u"42");
    EXPECT_EQ(window.GetWindowAttribute(u"other"), u"");
}

TEST_F(UiTest, TheFontBarHasCombosWhoseChoicesNotify) {
    struct Bar : CCompositeUI {
        std::vector<std::u16string> picked;
        bool ProcessNotify(TNotifyUI& m) override {
            if (m.nType != UINOTIFY_SELCHANGE) return false;
            picked.push_back(m.pSender->GetId() + u"=" + m.pSender->GetText());
            return true;
        }
    };
    auto* bar = new Bar;
    ASSERT_TRUE(bar->Create(u"CHATDLG_FONT_SETTING", nullptr));
    auto* face = dynamic_cast<CComboBoxUI*>(sim::FindControl(bar, "fontset.fontface"));
    ASSERT_NE(face, nullptr);
    face->AddString(u"Arial");
    face->AddString(u"Tahoma");
    EXPECT_TRUE(face->SelectItem(face->FindFirstItem(u"Tahoma")));  // the program's choice is silent
    EXPECT_EQ(face->FindFirstItem(u"Nope"), -1);
    EXPECT_TRUE(sim::ChooseComboItem(face, u"Arial"));
    EXPECT_FALSE(sim::ChooseComboItem(face, u"Nope"));
    EXPECT_FALSE(sim::ChooseComboItem(sim::FindControl(bar, "fontset.fontbold"), u"Arial"));
    EXPECT_EQ(bar->picked, std::vector<std::u16string>{u"fontface=Arial"});
    CControlUI::Destroy(bar);
}

TEST_F(UiTest, GridLayoutsPlaceEqualCellsOnTheScrolledContent) {
    // A layout that keeps its content on whole rows, as a scrolling face grid does.
    struct RowSnapping : CLayoutUI {
        int32_t step = 28;
        void OnChildSize(TSizeUI& size, const RECT& area, const RECT& content) override {
            RECT moved = content;
            const int32_t d = content.top - area.top;
            moved.top += (d / step) * step - d;
            CLayoutUI::OnChildSize(size, area, moved);
        }
    };
    auto window = sim::CreateHostWindow("host", 200, 100);
    auto* grid = new RowSnapping;
    window->GetRoot()->Add(grid);
    grid->SetCoordinate(0, 0, 0, 0, UIANCHOR_FILL);
    EXPECT_EQ(grid->LayoutChildren().cx, 0);  // no children
    for (int i = 0; i < 7; ++i) {
        auto* cell = new CControlUI;
        cell->SetCoordinate(0, 0, 60, 28, 0);
        grid->Add(cell);
    }
    EXPECT_EQ(grid->LayoutChildren().cx, 0);  // not a grid yet
    grid->SetAttribute(u"layout", u"grid");
    grid->SetAttribute(u"spacex", u"10");
    grid->SetAttribute(u"vscroll", u"true");
    EXPECT_TRUE(grid->HasScrollBar());
    const TSizeUI size = grid->LayoutChildren();
    EXPECT_EQ(size.cx, 200);  // three cells of 60 and two gaps of 10
    EXPECT_EQ(size.cy, 3 * 28);
    EXPECT_EQ(sim::ControlRect(grid->GetItemAt(4)).left, 70);
    EXPECT_EQ(sim::ControlRect(grid->GetItemAt(4)).top, 28);
    grid->SetScrollPos(TPointUI{0, 70});
    grid->LayoutChildren();
    EXPECT_EQ(sim::ControlRect(grid->GetItemAt(0)).top, -56);  // whole rows: 70 snaps to 56
}

TEST_F(UiTest, MirroredCoordinatesSwapSidesAndTextHasAWidth) {
    auto window = sim::CreateHostWindow("host", 800, 600);
    auto* band = new CControlUI;
    auto* corner = new CLabelUI;
    window->GetRoot()->Add(band);
    window->GetRoot()->Add(corner);
    band->SetCoordinate(10, 0, 30, 24, UIANCHOR_TOP);
    corner->SetCoordinate(5, 0, 45, 20, UIANCHOR_TOPLEFT);
    band->MirrorCoordinate();
    corner->MirrorCoordinate();
    EXPECT_EQ(sim::ControlRect(band).left, 30);
    EXPECT_EQ(sim::ControlRect(band).right, 790);
    EXPECT_EQ(corner->GetAnchor(), UIANCHOR_TOPRIGHT);
    EXPECT_EQ(sim::ControlRect(corner).left, 755);
    EXPECT_EQ(sim::ControlRect(corner).right, 795);
    corner->SetText(u"3 unread");
    EXPECT_EQ(corner->GetTextWidth(), 64);
}

TEST_F(UiTest, AnchorsGoRoundCornersThenSidesClockwise) {
    auto window = sim::CreateHostWindow("host", 600, 100);
    struct Case {
        int32_t anchor, left, top, right, bottom;
        RECT expected;
    };
    // The panel's own numbers: a send button at the bottom right, the tool
    // bar's right slot, a tip band, side columns and a filled area.
    const Case cases[] = {
        {UIANCHOR_TOPLEFT, 5, 6, 55, 26, {5, 6, 55, 26}},
        {UIANCHOR_TOPRIGHT, 95, 2, 2, 26, {505, 2, 598, 26}},
        {UIANCHOR_BOTTOMRIGHT, 91, 29, 30, 5, {509, 71, 570, 95}},
        {UIANCHOR_BOTTOMLEFT, 10, 30, 60, 10, {10, 70, 60, 90}},
        {UIANCHOR_TOP, 0, 0, 0, 24, {0, 0, 600, 24}},
        {UIANCHOR_RIGHT, 84, 0, 0, 34, {516, 0, 600, 66}},
        {UIANCHOR_BOTTOM, 0, 34, 0, 0, {0, 66, 600, 100}},
        {UIANCHOR_LEFT, 1, 0, 155, 34, {1, 0, 155, 66}},
        {UIANCHOR_FILL, 6, 20, 1, 0, {6, 20, 599, 100}},
    };
    for (const Case& c : cases) {
        auto* control = new CControlUI;
        window->GetRoot()->Add(control);
        control->SetCoordinate(c.left, c.top, c.right, c.bottom, c.anchor);
        const RECT r = sim::ControlRect(control);
        EXPECT_EQ((std::vector<long>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<long>{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
            << "anchor " << c.anchor;
    }
    // Mirroring swaps the columns and the bottom corners.
    auto* column = new CControlUI;
    window->GetRoot()->Add(column);
    column->SetCoordinate(1, 0, 155, 34, UIANCHOR_LEFT);
    column->MirrorCoordinate();
    EXPECT_EQ(column->GetAnchor(), UIANCHOR_RIGHT);
    auto* corner = new CControlUI;
    window->GetRoot()->Add(corner);
    corner->SetCoordinate(91, 29, 30, 5, UIANCHOR_BOTTOMRIGHT);
    corner->MirrorCoordinate();
    EXPECT_EQ(corner->GetAnchor(), UIANCHOR_BOTTOMLEFT);
    EXPECT_EQ(sim::ControlRect(corner).left, 30);
    EXPECT_EQ(sim::ControlRect(corner).right, 91);
}
