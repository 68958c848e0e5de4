// Layout files are kept once read, walks over children see the children as
// they were when the walk reached their container, and closing tells every
// control once, each before its children.
#include <string>
#include <vector>

#include "sdk/ui/CompositeUI.h"
#include "ui/UiTestSupport.h"

namespace {

// The names of the children a freshly built panel of that layout holds, or
// "refused" when the layout is refused.
std::vector<std::u16string> BuiltChildren(const char16_t* id) {
    auto* panel = new CCompositeUI;
    std::vector<std::u16string> names;
    if (!panel->Create(id, nullptr)) names.push_back(u"refused");
    for (int i = 0; i < panel->GetCount(); ++i) names.push_back(panel->GetItemAt(i)->GetName());
    CControlUI::Destroy(panel);
    return names;
}

using Names = std::vector<std::u16string>;

std::string Nested(int levels) {
    std::string xml = "<Layout>";
    for (int i = 0; i < levels; ++i) xml += "<Container>";
    for (int i = 0; i < levels; ++i) xml += "</Container>";
    return xml + "</Layout>";
}

class NamedDestroyLog : public CContainerUI {
public:
    NamedDestroyLog(std::u16string name, std::vector<std::u16string>& log) : m_log(log) {
        SetAttribute(u"name", name);
    }
    void OnDestroy() override { m_log.push_back(GetName()); }

private:
    std::vector<std::u16string>& m_log;
};

}  // namespace

TEST_F(UiTest, AChangedLayoutFileIsBuiltAsItNowStands) {
    AddScratchResources();
    Write("layout/changing.xml", "<Layout><Button name=\"a\"/></Layout>");
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"a"}));
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"a"}));

    // The same length, so that only the text tells the versions apart.
    Write("layout/changing.xml", "<Layout><Button name=\"b\"/></Layout>");
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"b"}));

    Write("layout/changing.xml", "<Layout><Button name=\"b\"></Layout>");
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"refused"}));
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"refused"}));

    Write("layout/changing.xml", "<Layout><Label name=\"c\"/><Label name=\"d\"/></Layout>");
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"c", u"d"}));

    // A folder added later with a file of the same name wins over the first.
    std::filesystem::create_directories(m_dir / "later" / "layout");
    std::ofstream(m_dir / "later" / "layout" / "changing.xml") << "<Layout><Label name=\"e\"/></Layout>";
    GetUIRes()->AddResPath(sim::ToWide((m_dir / "later").string() + "/").c_str(), 0);
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"e"}));

    std::filesystem::remove(m_dir / "later" / "layout" / "changing.xml");
    EXPECT_EQ(BuiltChildren(u"changing"), (Names{u"c", u"d"}));
}

TEST_F(UiTest, AKeptLayoutKeepsItsAttributesInOrderAndItsFallbacks) {
    AddScratchResources();
    Write("layout/kept.xml",
          "<Layout text=\"root\"><Mystery fallback=\"Button\" id=\"X\" name=\"m.n\"/>"
          "<Mystery name=\"holder\"><Label name=\"inner\"/></Mystery><Mystery name=\"leaf\"/></Layout>");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto* panel = new CCompositeUI;
        ASSERT_TRUE(panel->Create(u"kept", nullptr));
        EXPECT_EQ(panel->GetText(), u"root");
        CControlUI* fallback = panel->GetItemAt(0);
        EXPECT_EQ(std::u16string(fallback->GetClassName()), u"Button");
        // The explicit id wins over the one the name gives, whatever their order.
        EXPECT_EQ(fallback->GetId(), u"X");
        EXPECT_EQ(fallback->GetAttribute(u"fallback"), u"");
        EXPECT_NE(panel->FindSubControl(u"inner"), nullptr);
        EXPECT_NE(dynamic_cast<CContainerUI*>(panel->GetItemAt(1)), nullptr);
        EXPECT_EQ(dynamic_cast<CContainerUI*>(panel->GetItemAt(2)), nullptr);
        CControlUI::Destroy(panel);
    }
}

TEST_F(UiTest, LayoutsNestSixtyFourContainersDeepAndNoDeeper) {
    AddScratchResources();
    Write("layout/deepest.xml", Nested(64));
    Write("layout/toodeep.xml", Nested(65));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(BuiltChildren(u"deepest").size(), 1u);
        EXPECT_EQ(BuiltChildren(u"toodeep"), (Names{u"refused"}));
    }
}

TEST_F(UiTest, AWalkVisitsTheChildrenAContainerHadWhenReached) {
    // Few children and many: both kinds of container keep their children as
    // they were while a visit takes one out.
    for (int count : {3, 40}) {
        SCOPED_TRACE(count);
        auto* root = new CContainerUI;
        std::vector<CControlUI*> children;
        for (int i = 0; i < count; ++i) {
            children.push_back(new CControlUI);
            root->Add(children.back());
        }
        std::vector<CControlUI*> visited;
        root->ForEach([&](CControlUI* c) {
            visited.push_back(c);
            if (c == children[0]) root->RemoveNoDestroy(children[1]);
        });
        ASSERT_EQ(visited.size(), size_t(count) + 1);
        for (int i = 0; i < count; ++i) EXPECT_EQ(visited[size_t(i) + 1], children[size_t(i)]);
        EXPECT_EQ(root->GetCount(), count - 1);
        CControlUI::Destroy(children[1]);
        CControlUI::Destroy(root);
    }
}

TEST_F(UiTest, ClosingTellsEveryControlOnceEachBeforeItsChildren) {
    std::vector<std::u16string> log;
    auto* root = new NamedDestroyLog(u"root", log);
    auto* left = new NamedDestroyLog(u"left", log);
    auto* deep = new NamedDestroyLog(u"deep", log);
    root->Add(left);
    left->Add(deep);
    deep->Add(new NamedDestroyLog(u"deeper", log));
    root->Add(new NamedDestroyLog(u"right", log));
    CControlUI::Destroy(root);
    EXPECT_EQ(log, (Names{u"root", u"left", u"deep", u"deeper", u"right"}));
}
