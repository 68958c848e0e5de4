// The grid that scrolls by whole rows.
#include <gtest/gtest.h>

#include <memory>

#include "controls/ScrollExLayout.h"
#include "sim/driver.h"

namespace {

class ScrollExLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        m_grid = std::make_unique<tavi::CScrollExLayout>();
        m_grid->SetAttribute(u"layout", u"grid");
        m_grid->SetPos(RECT{0, 100, 240, 300});
        for (int i = 0; i < 40; ++i) {
            auto* cell = new CControlUI();
            cell->SetCoordinate(0, 0, 112, 25, -1);
            m_grid->Add(cell);
        }
    }
    void TearDown() override {
        m_grid.reset();
        sim::ResetAll();
    }
    int32_t FirstTop() const { return m_grid->GetItemAt(0)->GetPos().top; }

    std::unique_ptr<tavi::CScrollExLayout> m_grid;
};

TEST_F(ScrollExLayoutTest, ContentMovesByWholeSteps) {
    m_grid->SetAttribute(u"scroll_step", u"28");
    m_grid->SetScrollPos(TPointUI{0, 70});
    m_grid->LayoutChildren();
    EXPECT_EQ(FirstTop(), 100 - 56);
    // Whatever the scroll request, the top row is never cut.
    for (int32_t y = 0; y < 400; y += 7) {
        m_grid->SetScrollPos(TPointUI{0, y});
        m_grid->LayoutChildren();
        EXPECT_EQ((100 - FirstTop()) % 28, 0) << y;
        EXPECT_LE(100 - FirstTop(), y);
    }
}

TEST_F(ScrollExLayoutTest, OnlyTheExactAttributeNameSetsTheStep) {
    m_grid->SetAttribute(u"SCROLL_STEP", u"30");
    EXPECT_EQ(m_grid->GetScrollStep(), 30);
    EXPECT_FALSE(m_grid->HasAttribute(u"SCROLL_STEP"));
    m_grid->SetAttribute(u"scroll_steps", u"5");
    m_grid->SetAttribute(u"scroll_ste", u"5");
    EXPECT_EQ(m_grid->GetScrollStep(), 30);
    EXPECT_TRUE(m_grid->HasAttribute(u"scroll_steps"));
    EXPECT_TRUE(m_grid->HasAttribute(u"scroll_ste"));
}

TEST_F(ScrollExLayoutTest, WithoutAStepItScrollsByOneRow) {
    m_grid->SetAttribute(u"spacey", u"3");
    m_grid->SetAttribute(u"spacex", u"10");
    m_grid->SetAttribute(u"scroll_step", u"0");
    m_grid->SetScrollPos(TPointUI{0, 70});
    const TSizeUI size = m_grid->LayoutChildren();
    EXPECT_EQ(FirstTop(), 100 - 56);  // rows of 25 and a gap of 3
    EXPECT_EQ(size.cx, 234);          // two cells of 112 side by side, 10 apart
    EXPECT_EQ(m_grid->GetItemAt(3)->GetPos().left, 122);
    EXPECT_EQ(m_grid->GetItemAt(3)->GetPos().top, 100 - 56 + 28);
    m_grid->SetAttribute(u"scroll_step", u"-4");
    m_grid->LayoutChildren();
    EXPECT_EQ(FirstTop(), 100 - 56);
}

TEST_F(ScrollExLayoutTest, OnlyGridsAreLaidOut) {
    m_grid->SetAttribute(u"layout", u"vertical");
    const TSizeUI size = m_grid->LayoutChildren();
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    tavi::CScrollExLayout empty;
    empty.SetAttribute(u"layout", u"grid");
    EXPECT_EQ(empty.LayoutChildren().cy, 0);
}

TEST(ScrollExRegistrationTest, LayoutsBuildItByName) {
    sim::ResetAll();
    pfx::IDllObj* module = CreateDllObj(u"tavi");
    sim::AddModule(module);
    module->Init(sim::GetHost());
    std::unique_ptr<CControlUI> control(sim::CreateRegisteredControl("ScrollExLayout"));
    ASSERT_NE(dynamic_cast<tavi::CScrollExLayout*>(control.get()), nullptr);
    EXPECT_EQ(std::u16string(control->GetClassName()), u"ScrollExLayout");
    control.reset();
    module->Uninit();
    sim::RemoveModule(module);
    module->Release();
    sim::ResetAll();
}

}  // namespace
