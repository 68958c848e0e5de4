#include "ui/UiTestSupport.h"

namespace {

class CountingPanel : public CCompositeUI {
public:
    void OnCreate() override { ++created; }
    int created = 0;
};

}  // namespace

TEST_F(UiTest, MissingOrMalformedLayoutsFailWithoutAddingAnything) {
    AddScratchResources();
    Write("layout/broken.xml", "<Layout><Button name=\"a\"></Layout>");
    Write("layout/truncated.xml", std::string("<Layout><Label text=\"") + "\xF4");
    Write("layout/notxml.xml", "just words");
    Write("layout/empty.xml", "");
    std::string deep = "<Layout>";  // absurdly deep
    for (int i = 0; i < 200; ++i) deep += "<Container>";
    for (int i = 0; i < 200; ++i) deep += "</Container>";
    Write("layout/deep.xml", deep + "</Layout>");
    auto window = sim::CreateHostWindow();
    for (const char16_t* id : {u"broken", u"truncated", u"notxml", u"empty", u"deep", u"missing", u""}) {
        auto* panel = new CountingPanel;
        EXPECT_FALSE(panel->Create(id, window->GetRoot()));
        EXPECT_EQ(panel->created, 0);
        EXPECT_EQ(panel->GetParent(), nullptr);
        EXPECT_EQ(panel->GetCount(), 0);
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
