// The host's member search in the stand-in: what it finds, how it ranks,
// when it answers and to whom.
#include "SdkFixture.h"

#include "sdk/findfrd.h"
#include "sdk/ui/RichEditUI.h"
#include "sim/core/Text.h"

namespace {

class MemberSearchTest : public SdkTest {
protected:
    void SetUp() override {
        SdkTest::SetUp();
        m_window = sim::CreateHostWindow();
        m_edit = new CRichEditUI;
        m_window->GetRoot()->Add(m_edit);
        m_group = sim::AddGroup("g1");
        for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{
                 {"bob", "Bob"}, {"abbot", "Abbot"}, {"bo", "Bo Bo"}, {"robert", "Robert"}, {"x7", ""}}) {
            sim::AddBuddy(id, name, false);
            sim::AddGroupMember("g1", id);
        }
        m_search = client::CreateFindFrdSDK();
    }
    void TearDown() override {
        m_search.reset();
        m_window.reset();
        SdkTest::TearDown();
    }

    // Binds the search to the edit holding `text` and lets it answer.
    std::vector<std::string> Find(const std::u16string& text) {
        m_edit->SetText(text);
        m_edit->SetSel(-1, -1);
        Bind();
        sim::RunUntilIdle();
        return m_answer;
    }
    void Bind() {
        client::FIND_CONTROL_DESC desc;
        desc.pEdit = m_edit;
        desc.hEditWnd = m_window->GetHWND();
        desc.account = m_account;
        desc.scope = {m_group};
        desc.dwOptions = client::FIND_OPT_MEMBERS | client::FIND_OPT_AT_KEYWORD;
        std::vector<std::string>* out = &m_answer;
        out->clear();
        desc.callback = [out](client::FIND_CONTAIN_MAIN& results, int count, bool complete) {
            EXPECT_TRUE(complete);
            out->clear();
            for (const auto& list : results) {
                for (const auto& item : list) out->push_back(sim::ToUtf8(item.strId));
            }
            EXPECT_EQ(count, int(out->size()));
            out->push_back("|");
        };
        m_search->SetControl(desc);
    }

    std::unique_ptr<CWindowUI> m_window;
    CRichEditUI* m_edit = nullptr;
    qel_handle m_group = nullptr;
    std::unique_ptr<client::_CFindFrdSDK> m_search;
    std::vector<std::string> m_answer;
};

using Ids = std::vector<std::string>;

TEST_F(MemberSearchTest, TheGroupIsIndexedOnceNotPerKeystroke) {
    const int before = sim::MemberIndexBuilds();
    for (const char16_t* text : {u"@b", u"@bo", u"@bob", u"@bo"}) Find(text);
    EXPECT_EQ(sim::MemberIndexBuilds(), before + 1);
    sim::AddGroupMember("g1", "bob2");
    Find(u"@bob");
    EXPECT_EQ(sim::MemberIndexBuilds(), before + 2);
    EXPECT_EQ(sim::MemberSearches().back().keyword, u"bob");
    EXPECT_EQ(sim::MemberSearches().back().records, 2);
}

TEST_F(MemberSearchTest, AGoneWindowOrGroupGetsNoAnswerAndNoCrash) {
    m_edit->SetText(u"@bob");
    Bind();
    m_window.reset();
    sim::RunUntilIdle();
    EXPECT_TRUE(m_answer.empty());

    m_window = sim::CreateHostWindow();
    m_edit = new CRichEditUI;
    m_window->GetRoot()->Add(m_edit);
    m_edit->SetText(u"@bob");
    Bind();
    sim::DropObject(m_group);
    m_group = nullptr;  // the handle is gone; nobody may pass it again
    sim::RunUntilIdle();
    EXPECT_EQ(m_answer, (Ids{"|"}));
    // A search destroyed with a request under way answers nobody.
    Bind();
    m_search.reset();
    m_answer.clear();
    sim::RunUntilIdle();
    EXPECT_TRUE(m_answer.empty());
}

}  // namespace
