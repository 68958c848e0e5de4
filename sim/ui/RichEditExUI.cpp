// The message view: message ranges that follow every edit of the text.
#include "sdk/ui/RichEditExUI.h"

#include <algorithm>

namespace {

long Shift(long p, long start, long end, long length) {
    if (p >= end) return p + length - (end - start);
    if (p > start) return start + length;
    return p;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t'; }

}  // namespace

const SViewMsg* CRichEditExUI::Find(int64_t id) const {
    if (!m_ids.count(id)) return nullptr;
    // From the end: what the component asks about is mostly what it just showed.
    for (auto it = m_msgs.rbegin(); it != m_msgs.rend(); ++it) {
        if (it->id == id) return &*it;
    }
    return nullptr;
}

bool CRichEditExUI::GetMsgRange(int64_t id, CHARRANGE& range) const {
    const SViewMsg* m = Find(id);
    if (!m) return false;
    range.cpMin = m->start;
    range.cpMax = m->end;
    return true;
}

bool CRichEditExUI::HasMsg(int64_t id) const { return Find(id) != nullptr; }

int64_t CRichEditExUI::GetMsgIdByPos(long pos) const {
    auto it = std::partition_point(m_msgs.begin(), m_msgs.end(), [&](const SViewMsg& m) { return m.end <= pos; });
    for (; it != m_msgs.end() && it->start <= pos; ++it) {
        if (it->kind != EMsgKind::HeaderLine && pos >= it->start && pos < it->end) return it->id;
    }
    return 0;
}

int64_t CRichEditExUI::GetMsgIdByPoint(TPointUI point) const {
    const RECT r = GetPos();
    const int32_t y = point.y - r.top + GetScrollPos();
    for (const SViewMsg& m : m_msgs) {
        if (m.kind == EMsgKind::HeaderLine || !m.visible) continue;
        if (y >= GetCharTop(m.start) && y < GetCharTop(m.end)) return m.id;
    }
    return 0;
}

void CRichEditExUI::GetMsgIdListByRange(long start, long end, std::vector<int64_t>& ids) const {
    if (end < 0) end = GetTextLength();
    for (const SViewMsg& m : m_msgs) {
        const bool overlaps = m.start < end && m.end > start;
        const bool caretInside = start == end && start >= m.start && start < m.end;
        if (m.kind != EMsgKind::HeaderLine && (overlaps || caretInside)) ids.push_back(m.id);
    }
}

bool CRichEditExUI::GetVisibleMsg(int64_t& firstId, int64_t& lastId) const {
    const int32_t top = GetScrollPos();
    const int32_t height = GetHeight() > 0 ? GetHeight() : GetContentHeight();
    auto bottomOf = [this](const SViewMsg& m) { return std::max(GetCharTop(m.end), GetCharTop(m.start) + 1); };
    // Messages are in text order, so their lines are too: skip those above.
    auto it = std::partition_point(m_msgs.begin(), m_msgs.end(), [&](const SViewMsg& m) { return bottomOf(m) <= top; });
    bool any = false;
    for (; it != m_msgs.end(); ++it) {
        if (GetCharTop(it->start) >= top + height) break;
        if (it->kind != EMsgKind::Msg || !it->visible) continue;
        if (!any) firstId = it->id;
        lastId = it->id;
        any = true;
    }
    return any;
}

int CRichEditExUI::GetMsgCount() const {
    return int(m_msgs.size() - m_ids.count(kHeaderLineMsgId));
}

bool CRichEditExUI::DeleteMsg(int64_t id) {
    const SViewMsg* m = Find(id);
    if (!m) return false;
    const long start = m->start, end = m->end;
    m_ids.erase(id);
    m_msgs.erase(m_msgs.begin() + (m - m_msgs.data()));
    ReplaceRange(start, end, u"");
    return true;
}

bool CRichEditExUI::EnableMsgVisible(int64_t id) {
    const SViewMsg* m = Find(id);
    if (!m) return false;
    SetMsgVisible(id, true);
    SetScrollPos(GetCharTop(m->start));
    return true;
}

bool CRichEditExUI::SetMsgVisible(int64_t id, bool visible) {
    for (SViewMsg& m : m_msgs) {
        if (m.id != id) continue;
        m.visible = visible;
        return true;
    }
    return false;
}

int64_t CRichEditExUI::GetFirstMsgId() const {
    for (const SViewMsg& m : m_msgs) {
        if (m.kind == EMsgKind::Msg) return m.id;
    }
    return 0;
}

int64_t CRichEditExUI::GetLastMsgId() const {
    for (auto it = m_msgs.rbegin(); it != m_msgs.rend(); ++it) {
        if (it->kind == EMsgKind::Msg) return it->id;
    }
    return 0;
}

void CRichEditExUI::SetHeaderLine(const std::u16string& text) {
    RemoveHeaderLine();
    CREidtInsertHelper helper(this);
    helper.BeginInsert(kHeaderLineMsgId, 0, EMsgKind::HeaderLine);
    helper.InsertText(text + u"\r");
    helper.EndInsert();
}

bool CRichEditExUI::HasHeaderLine() const { return Find(kHeaderLineMsgId) != nullptr; }

void CRichEditExUI::RemoveHeaderLine() { DeleteMsg(kHeaderLineMsgId); }

long CRichEditExUI::GetTopInsertPos() const {
    const SViewMsg* header = Find(kHeaderLineMsgId);
    return header ? header->end : 0;
}

void CRichEditExUI::ClearExceptHeaderLine() { ReplaceRange(GetTopInsertPos(), GetTextLength(), u""); }

void CRichEditExUI::ShowBottomPanel(bool show) {
    if (m_bottomPanel) m_bottomPanel->SetVisible(show);
}

bool CRichEditExUI::IsNeedShowBottomPanel() const { return m_bottomPanel && !IsAtEnd(); }

void CRichEditExUI::AddMsgRange(int64_t id, EMsgKind kind, long start, long end) {
    if (start >= end) return;
    if (const SViewMsg* known = Find(id)) {
        auto& m = const_cast<SViewMsg&>(*known);
        m.start = std::min(m.start, start);
        m.end = std::max(m.end, end);
        return;
    }
    // A control alone on its lines is a pane, whatever the caller said.
    if (kind == EMsgKind::Msg) {
        int objects = 0, controls = 0, other = 0;
        const std::u16string text = GetTextRange(start, end);
        for (long p = start; p < end; ++p) {
            const char16_t c = text[size_t(p - start)];
            if (c == kObjectChar) {
                ++objects;
                controls += dynamic_cast<COleControlObj*>(GetObjectAtPos(p)) != nullptr;
            } else if (!IsBlank(c)) {
                ++other;
            }
        }
        if (objects == 1 && controls == 1 && other == 0) kind = EMsgKind::Pane;
    }
    SViewMsg msg{id, kind, start, end, true};
    // Messages do not overlap and stay in text order.
    auto at = std::partition_point(m_msgs.begin(), m_msgs.end(), [&](const SViewMsg& m) { return m.start < end; });
    m_msgs.insert(at, msg);
    m_ids.insert(id);
}

void CRichEditExUI::OnTextReplaced(long start, long end, long length) {
    if (IsInserting()) {
        if (start == end && start == m_insertPos) {
            m_insertPos += length;  // inserted at the insertion point: it joins the insertion
        } else {
            m_insertStart = Shift(m_insertStart, start, end, length);
            m_insertPos = std::max(m_insertStart, Shift(m_insertPos, start, end, length));
        }
    }
    // Only the messages that end after the edit move; in text order they
    // are a tail of the list, usually empty when a message is appended.
    auto first = std::partition_point(m_msgs.begin(), m_msgs.end(), [&](const SViewMsg& m) { return m.end <= start; });
    bool emptied = false;
    for (auto it = first; it != m_msgs.end(); ++it) {
        it->start = Shift(it->start, start, end, length);
        it->end = Shift(it->end, start, end, length);
        emptied |= it->end <= it->start;
    }
    if (emptied) {
        for (auto it = first; it != m_msgs.end(); ++it) {
            if (it->end <= it->start) m_ids.erase(it->id);
        }
        m_msgs.erase(std::remove_if(first, m_msgs.end(), [](const SViewMsg& m) { return m.end <= m.start; }), m_msgs.end());
    }
}

bool CRichEditExUI::BeginMsgInsert(int64_t id, long pos, EMsgKind kind) {
    if (IsInserting()) EndMsgInsert();
    const long len = GetTextLength();
    m_insertId = id;
    m_insertKind = kind;
    m_insertStart = m_insertPos = pos < 0 || pos > len ? len : pos;
    SetSel(m_insertPos, m_insertPos);
    return true;
}

bool CRichEditExUI::EndMsgInsert() {
    if (!IsInserting()) return false;
    const long start = m_insertStart, end = m_insertPos;
    const int64_t id = m_insertId;
    const EMsgKind kind = m_insertKind;
    m_insertStart = m_insertPos = -1;
    AddMsgRange(id, kind, start, end);
    if (kind != EMsgKind::HeaderLine) SendNotify(UINOTIFY_RE_ADDMSG, 0, intptr_t(id));
    return true;
}

CREidtInsertHelper::~CREidtInsertHelper() {
    if (m_open) EndInsert();
}

bool CREidtInsertHelper::BeginInsert(int64_t id, long pos, EMsgKind kind) {
    if (!m_edit) return false;
    m_open = m_edit->BeginMsgInsert(id, pos, kind);
    return m_open;
}

void CREidtInsertHelper::InsertText(const std::u16string& text) {
    if (m_open && m_edit->IsInserting()) m_edit->InsertText(m_edit->GetInsertPos(), text);
}

COleImageObj* CREidtInsertHelper::InsertImage(const std::u16string& path) {
    if (!m_open || !m_edit->IsInserting()) return nullptr;
    COleImageObj* image = COleImageObj::LoadImage(path, true);
    if (image) InsertImage(image);
    return image;
}

bool CREidtInsertHelper::InsertImage(COleImageObj* image) {
    if (!m_open || !m_edit->IsInserting() || !image) return false;
    return m_edit->InsertObject(image, m_edit->GetInsertPos());
}

bool CREidtInsertHelper::InsertControl(CControlUI* control, int32_t x, int32_t width, int32_t height) {
    if (!m_open || !m_edit->IsInserting()) return false;
    return m_edit->InsertControl(control, x, width, m_edit->GetInsertPos(), height);
}

void CREidtInsertHelper::InsertLink(const char16_t* text, CLinkObj* link, int type, bool flag, tagTextFormat* format) {
    if (!m_open || !m_edit->IsInserting() || !text) return;
    m_edit->SetSel(m_edit->GetInsertPos(), m_edit->GetInsertPos());
    m_edit->InsertLink(text, link, type, flag, format);
}

bool CREidtInsertHelper::EndInsert() {
    if (!m_open) return false;
    m_open = false;
    return m_edit->EndMsgInsert();
}
