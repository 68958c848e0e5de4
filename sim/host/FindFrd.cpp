// The host's member search. Every group gets an index of its members once
// (sorted suffixes of each member's name, Latin spelling and id, folded
// to lower case), so that a keystroke costs a binary search and the
// members it finds, not a walk over the whole group. Answers arrive on the
// loop's next turn, as a service's would, and only for the latest binding.
#include <algorithm>
#include <map>
#include <memory>

#include "sdk/findfrd.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/common_sdk.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "sim/core/Loop.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/sdk/SdkDriver.h"
#include "sim/sdk/World.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {

// Match kinds, best first.
enum MatchKind : int { kExact = 0, kPrefix = 1, kInside = 2, kNoMatch = 3 };

struct IndexedMember {
    std::string id;
    std::u16string name;
    std::u16string avatar;
    int state = 0;
};

struct Suffix {
    uint32_t text;    // index into texts
    uint32_t offset;  // where the suffix starts
};

class GroupIndex {
public:
    GroupIndex(sdk::BuddyGroup& group, qel_handle account);
    size_t MemberCount() const { return m_members.size(); }
    // The members whose fields hold the folded keyword, best match kind per member.
    std::vector<std::pair<size_t, MatchKind>> Find(const std::u16string& keyword) const;
    const IndexedMember& Member(size_t i) const { return m_members[i]; }

private:
    static constexpr uint32_t kFields = 3;  // name, Latin spelling, id
    std::u16string_view SuffixText(const Suffix& s) const {
        return std::u16string_view(m_texts[s.text]).substr(s.offset);
    }
    std::vector<IndexedMember> m_members;
    std::vector<std::u16string> m_texts;  // kFields per member, folded
    std::vector<Suffix> m_suffixes;       // sorted by their text
};

std::u16string Fold(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    }
    return text;
}

GroupIndex::GroupIndex(sdk::BuddyGroup& group, qel_handle account) {
    qel_handle buddies = qel_account_buddies(account);
    m_members.reserve(group.members.size());
    m_texts.reserve(group.members.size() * kFields);
    for (const sdk::Member& member : group.members) {
        qel_handle buddy = buddies ? qel_buddies_find_buddy_base(buddies, member.buddyId.c_str()) : nullptr;
        IndexedMember entry;
        entry.id = member.buddyId;
        std::u16string name = ToWide(qel_attribs_get_str(member.attribs.get(), "note", ""));
        if (name.empty()) name = ToWide(qel_attribs_get_str(buddy, "nickname", ""));
        entry.name = name;
        entry.avatar = common::GetUserAvatarPath(buddy, "avatar-id-f40");
        entry.state = qel_attribs_get_int(buddy, "state", 0);
        m_texts.push_back(Fold(name));
        m_texts.push_back(Fold(LatinSpelling(name)));
        m_texts.push_back(Fold(ToWide(member.buddyId)));
        m_members.push_back(std::move(entry));
    }
    for (uint32_t t = 0; t < m_texts.size(); ++t) {
        // A Latin spelling equal to the name adds nothing to find.
        if (t % kFields == 1 && m_texts[t] == m_texts[t - 1]) continue;
        for (uint32_t o = 0; o < m_texts[t].size(); ++o) m_suffixes.push_back({t, o});
    }
    std::sort(m_suffixes.begin(), m_suffixes.end(),
              [this](const Suffix& a, const Suffix& b) { return SuffixText(a) < SuffixText(b); });
}

std::vector<std::pair<size_t, MatchKind>> GroupIndex::Find(const std::u16string& keyword) const {
    std::vector<std::pair<size_t, MatchKind>> found;
    if (keyword.empty()) return found;
    const std::u16string_view key(keyword);
    // Suffixes that start with the keyword form one run of the sorted list.
    auto first = std::lower_bound(m_suffixes.begin(), m_suffixes.end(), key,
                                  [this](const Suffix& s, std::u16string_view k) { return SuffixText(s) < k; });
    std::map<size_t, MatchKind> best;
    for (auto it = first; it != m_suffixes.end(); ++it) {
        const std::u16string_view text = SuffixText(*it);
        if (text.substr(0, key.size()) != key) break;
        const MatchKind kind = it->offset != 0 ? kInside : text.size() == key.size() ? kExact : kPrefix;
        const size_t member = it->text / kFields;
        auto [slot, added] = best.emplace(member, kind);
        if (!added) slot->second = std::min(slot->second, kind);
    }
    found.assign(best.begin(), best.end());
    return found;
}

struct SearchState {
    std::map<uint64_t, std::unique_ptr<GroupIndex>> indexes;  // by the group's weak reference
    std::vector<MemberSearch> searches;
    int indexBuilds = 0;
};

SearchState& State() {
    static SearchState state;
    return state;
}

const bool kRegistered = RegisterReset([] { State() = SearchState{}; });

const GroupIndex* IndexOf(sdk::BuddyGroup& group, qel_handle account) {
    auto& slot = State().indexes[sdk::WeakRef(&group)];
    // A group whose membership changed is indexed again.
    if (!slot || slot->MemberCount() != group.members.size()) {
        slot = std::make_unique<GroupIndex>(group, account);
        ++State().indexBuilds;
    }
    return slot.get();
}

// The keyword: what follows the last "@" before the caret.
std::u16string KeywordOf(const CRichEditUI& edit, uint32_t options) {
    long start = 0, end = 0;
    edit.GetSel(start, end);
    std::u16string text = edit.GetTextRange(0, end);
    if (!(options & client::FIND_OPT_AT_KEYWORD)) return text;
    const size_t at = text.rfind(u'@');
    return at == std::u16string::npos ? std::u16string() : text.substr(at + 1);
}

float ScoreOf(MatchKind kind, const std::u16string& name) {
    // Shorter names rank first among matches of one kind; steps of 1 keep
    // clear of the 0.01 within which a caller treats scores as equal.
    return float(int(kind) * 1000 + int(std::min<size_t>(name.size(), 999)));
}

class MemberSearchImpl final : public client::_CFindFrdSDK {
public:
    MemberSearchImpl() : m_binding(std::make_shared<Binding>()) {}
    ~MemberSearchImpl() override { ++m_binding->generation; }

    void SetControl(const client::FIND_CONTROL_DESC& desc) override {
        Binding& b = *m_binding;
        b.desc = desc;
        b.scope.clear();
        for (qel_handle group : desc.scope) b.scope.push_back(sdk::WeakRef(group));
        b.desc.scope.clear();
        const uint64_t generation = ++b.generation;
        std::weak_ptr<Binding> weak = m_binding;
        Post([weak, generation] {
            std::shared_ptr<Binding> binding = weak.lock();
            if (binding && binding->generation == generation) Answer(*binding);
        });
    }

    void ResetControl() override {
        ++m_binding->generation;
        m_binding->desc = client::FIND_CONTROL_DESC{};
        m_binding->scope.clear();
    }

private:
    struct Binding {
        client::FIND_CONTROL_DESC desc;
        std::vector<uint64_t> scope;
        uint64_t generation = 0;
    };

    static void Answer(Binding& binding) {
        const client::FIND_CONTROL_DESC desc = binding.desc;
        // The edit's window closed meanwhile: nobody is left to answer.
        if (!desc.pEdit || !IsWindow(desc.hEditWnd) || !ui::IsAlive(desc.pEdit) || !desc.callback) return;
        const std::u16string keyword = KeywordOf(*desc.pEdit, desc.dwOptions);
        client::FIND_CONTAIN_MAIN results(1);
        std::vector<std::pair<float, size_t>> order;
        client::FIND_CONTAIN& list = results.front();
        for (uint64_t ref : binding.scope) {
            auto* group = sdk::As<sdk::BuddyGroup>(sdk::FromWeakRef(ref));
            if (!group || group->membersError != 0) continue;
            const GroupIndex* index = IndexOf(*group, desc.account);
            for (const auto& [i, kind] : index->Find(Fold(keyword))) {
                const IndexedMember& member = index->Member(i);
                client::FIND_ITEM item;
                item.fMatchScore = ScoreOf(kind, member.name);
                item.strId = ToWide(member.id);
                item.strDisplayName = member.name;
                item.strAvatarPath = member.avatar;
                item.nState = member.state;
                order.emplace_back(item.fMatchScore, list.size());
                list.push_back(std::move(item));
            }
        }
        // The service ranks what it found; members of one rank keep the group's order.
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        client::FIND_CONTAIN ranked;
        ranked.reserve(list.size());
        for (const auto& [score, i] : order) ranked.push_back(std::move(list[i]));
        list = std::move(ranked);
        State().searches.push_back({keyword, int(list.size())});
        desc.callback(results, int(list.size()), true);
    }

    std::shared_ptr<Binding> m_binding;
};

}  // namespace

const std::vector<MemberSearch>& MemberSearches() { return State().searches; }
int MemberIndexBuilds() { return State().indexBuilds; }

}  // namespace sim

namespace client {
std::unique_ptr<_CFindFrdSDK> CreateFindFrdSDK() { return std::make_unique<sim::MemberSearchImpl>(); }
}  // namespace client
