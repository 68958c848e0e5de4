// The rich edit model: one text, objects in document order (the k-th
// U+FFFC of the text is the k-th object), a selection and a simple
// geometry of fixed-width characters and lines.
#include "sdk/ui/RichEditUI.h"

#include <algorithm>

#include "sdk/ui/WindowUI.h"
#include "sim/core/Loop.h"
#include "sim/ui/UiDriver.h"
#include "sim/ui/UiInternal.h"

namespace {

constexpr int32_t kCharWidth = 8;
constexpr int32_t kLineHeight = 20;

bool IsBreak(const std::u16string& text, size_t i) {
    if (text[i] == u'\n') return i == 0 || text[i - 1] != u'\r';  // "\r\n" breaks once, at the \r
    return text[i] == u'\r';
}

long Shift(long p, long start, long end, long length) {
    if (p >= end) return p + length - (end - start);
    if (p > start) return start + length;
    return p;
}

// Ranges that lay over a replaced text go with it; the others move with it.
template <class Range>
void FollowReplacement(std::vector<Range>& ranges, long start, long end, long length) {
    std::vector<Range> kept;
    for (Range range : ranges) {
        if (range.end <= start || range.start >= end) {
            range.start = Shift(range.start, start, end, length);
            range.end = Shift(range.end, start, end, length);
            kept.push_back(range);
        }
    }
    ranges = std::move(kept);
}

}  // namespace

CRichEditUI::CRichEditUI() {
    const std::u16string face = u"Default";
    std::copy(face.begin(), face.end(), m_format.szFaceName);
}

CRichEditUI::~CRichEditUI() {
    // Embedded controls go before the edit's own state does.
    m_objects.clear();
}

void CRichEditUI::SetText(const std::u16string& text) {
    std::u16string clean;
    for (char16_t c : text) {
        if (c != kObjectChar) clean += c;
    }
    ReplaceRange(0, GetTextLength(), clean);
    SetSel(-1, -1);
}

std::u16string CRichEditUI::GetTextRange(long start, long end) const {
    const long len = GetTextLength();
    if (end < 0 || end > len) end = len;
    start = std::clamp(start, 0L, len);
    return start >= end ? std::u16string() : m_text.substr(size_t(start), size_t(end - start));
}

void CRichEditUI::InsertText(const std::u16string& text) {
    const long caret = m_selEnd;
    // Like the platform's rich edit, a CRLF is kept as one paragraph mark,
    // also when its LF comes in a later insertion than its CR (a text put
    // in piece by piece).
    const bool afterCr = caret > 0 && caret <= long(m_text.size()) && m_text[size_t(caret - 1)] == u'\r';
    std::u16string clean;
    for (char16_t c : text) {
        const bool endsCrLf = c == u'\n' && (clean.empty() ? afterCr : clean.back() == u'\r');
        if (c == kObjectChar || endsCrLf) continue;
        clean += c;
    }
    ReplaceRange(caret, caret, clean);
    SetSel(caret + long(clean.size()), caret + long(clean.size()));
}

void CRichEditUI::InsertText(long pos, const std::u16string& text) {
    SetSel(pos, pos);
    InsertText(text);
}

TPointUI CRichEditUI::GetCaretPos() const {
    const RECT origin = GetPos();
    return TPointUI{origin.left + GetCharLeft(m_selEnd), origin.top + GetCharTop(m_selEnd) - m_scrollPos};
}

void CRichEditUI::AppendText(const std::u16string& text) {
    SetSel(-1, -1);
    InsertText(text);
}

void CRichEditUI::Clear() {
    ReplaceRange(0, GetTextLength(), u"");
    m_links.clear();
    m_scrollPos = 0;
}

void CRichEditUI::GetSel(long& start, long& end) const {
    start = m_selStart;
    end = m_selEnd;
}

void CRichEditUI::SetSel(long start, long end) {
    const long len = GetTextLength();
    if (start < 0) start = len;
    if (end < 0 || end > len) end = len;
    start = std::min(start, len);
    m_selStart = std::min(start, end);
    m_selEnd = std::max(start, end);
}

std::u16string CRichEditUI::GetSelText() const { return GetTextRange(m_selStart, m_selEnd); }

void CRichEditUI::ReplaceSel(const std::u16string& text, bool) {
    const long start = m_selStart;
    std::u16string clean;
    for (char16_t c : text) {
        if (c != kObjectChar) clean += c;
    }
    ReplaceRange(start, m_selEnd, clean);
    SetSel(start + long(clean.size()), start + long(clean.size()));
}

int CRichEditUI::ObjectIndexBefore(long pos) const {
    pos = std::clamp(pos, 0L, GetTextLength());
    const SLineStart& line = LineOf(pos);
    return line.objectsBefore + int(std::count(m_text.begin() + line.start, m_text.begin() + pos, kObjectChar));
}

const CRichEditUI::SLineStart& CRichEditUI::LineOf(long pos) const {
    const long len = GetTextLength();
    pos = std::clamp(pos, 0L, len);
    // A line starts after each break; measure until a line starts past pos
    // or the text ends.
    while (m_scan < len && m_lines.back().start <= pos) {
        const size_t i = size_t(m_scan);
        if (m_text[i] == kObjectChar) m_scanLineHeight = std::max(m_scanLineHeight, m_objects[size_t(m_scanObjects++)]->GetDisplayHeight());
        ++m_scan;
        if (IsBreak(m_text, i)) {
            m_lines.push_back(SLineStart{m_scan, m_lines.back().top + m_scanLineHeight, m_scanObjects});
            m_scanLineHeight = kLineHeight;
            if (m_lines.back().start > pos) break;
        }
    }
    auto after = std::upper_bound(m_lines.begin(), m_lines.end(), pos,
                                  [](long p, const SLineStart& line) { return p < line.start; });
    return *(after - 1);
}

void CRichEditUI::ForgetLinesFrom(long pos) const {
    while (m_lines.size() > 1 && m_lines.back().start > pos) m_lines.pop_back();
    // Text measured past pos has changed: the last line kept is measured
    // again from its start.
    if (m_scan > pos) {
        m_scan = m_lines.back().start;
        m_scanLineHeight = kLineHeight;
        m_scanObjects = m_lines.back().objectsBefore;
    }
}

void CRichEditUI::InvalidateLayout() const { ForgetLinesFrom(0); }

bool CRichEditUI::ReplaceRange(long start, long end, const std::u16string& text, std::vector<COleObject*> objects) {
    const long len = GetTextLength();
    if (end < 0 || end > len) end = len;
    // The two ends name the range in either order, as a selection's do.
    start = std::clamp(start, 0L, len);
    if (start > end) std::swap(start, end);
    // Every object gets a character; a character without an object is dropped.
    std::u16string inserted;
    size_t used = 0;
    for (char16_t c : text) {
        if (c != kObjectChar) inserted += c;
        else if (used < objects.size() && objects[used]) inserted += c, ++used;
        else if (used < objects.size()) ++used;
    }
    for (; used < objects.size(); ++used) {
        if (objects[used]) inserted += kObjectChar;
    }
    objects.erase(std::remove(objects.begin(), objects.end(), nullptr), objects.end());

    const int first = ObjectIndexBefore(start);
    ForgetLinesFrom(start);
    const int removed = int(std::count(m_text.begin() + start, m_text.begin() + end, kObjectChar));
    // Taken out before they are destroyed, so their destructors see a consistent edit.
    std::vector<std::unique_ptr<COleObject>> gone;
    for (int i = 0; i < removed; ++i) gone.push_back(std::move(m_objects[size_t(first + i)]));
    m_objects.erase(m_objects.begin() + first, m_objects.begin() + first + removed);
    for (size_t i = 0; i < objects.size(); ++i) {
        objects[i]->SetOwner(this);
        FitImage(objects[i]);
        m_objects.insert(m_objects.begin() + first + long(i), std::unique_ptr<COleObject>(objects[i]));
    }
    m_text.replace(size_t(start), size_t(end - start), inserted);

    const long length = long(inserted.size());
    m_selStart = Shift(m_selStart, start, end, length);
    m_selEnd = Shift(m_selEnd, start, end, length);
    FollowReplacement(m_links, start, end, length);
    FollowReplacement(m_colorRuns, start, end, length);
    OnTextReplaced(start, end, length);
    m_scrollPos = std::min(m_scrollPos, GetScrollRange());
    for (auto& object : gone) object->SetOwner(nullptr);
    return true;
}

void CRichEditUI::OnTextReplaced(long, long, long) {}

void CRichEditUI::Copy() {
    if (!HasSelection()) return;
    std::u16string text;
    std::vector<std::u16string> pictures;
    for (long p = m_selStart; p < m_selEnd; ++p) {
        if (m_text[size_t(p)] != kObjectChar) {
            text += m_text[size_t(p)];
        } else if (auto* image = dynamic_cast<COleImageObj*>(GetObjectAtPos(p))) {
            text += kObjectChar;
            pictures.push_back(image->GetFilePath());
        }
    }
    sim::SetClipboard(text, pictures);
}

void CRichEditUI::Cut() {
    Copy();
    if (!m_readOnly) ReplaceSel(u"");
}

void CRichEditUI::Paste() {
    if (m_readOnly) return;
    const sim::ClipboardContent clip = sim::GetClipboard();
    std::vector<COleObject*> objects;
    std::u16string text;
    size_t next = 0;
    for (char16_t c : clip.text) {
        if (c != kObjectChar) {
            text += c;
            continue;
        }
        // A picture that no longer loads is left out.
        COleImageObj* image = next < clip.pictures.size() ? COleImageObj::LoadImage(clip.pictures[next], true) : nullptr;
        ++next;
        if (!image) continue;
        text += kObjectChar;
        objects.push_back(image);
    }
    const long start = m_selStart;
    ReplaceRange(start, m_selEnd, text, objects);
    SetSel(start + long(text.size()), start + long(text.size()));
}

void CRichEditUI::SetDefaultCharFormat(const tagTextFormat& format) {
    m_format = format;
    m_format.szFaceName[31] = 0;
}

void CRichEditUI::SetFont(const std::u16string& face, int32_t size, bool bold, bool italic, bool underline) {
    tagTextFormat f = m_format;
    std::fill(std::begin(f.szFaceName), std::end(f.szFaceName), u'\0');
    std::copy_n(face.begin(), std::min<size_t>(face.size(), 31), f.szFaceName);
    f.nSize = size;
    f.dwEffects = (f.dwEffects & ~(TF_BOLD | TF_ITALIC | TF_UNDERLINE)) | (bold ? TF_BOLD : 0) |
                  (italic ? TF_ITALIC : 0) | (underline ? TF_UNDERLINE : 0);
    m_format = f;
}

bool CRichEditUI::SetZoom(int numerator, int denominator) {
    // 0/0 turns zoom off; otherwise the ratio must lie within 1/64 to 64.
    const bool off = numerator == 0 && denominator == 0;
    if (!off && (numerator <= 0 || denominator <= 0 || numerator > 64 * denominator || denominator > 64 * numerator))
        return false;
    if (numerator == m_zoomNum && denominator == m_zoomDen) return true;
    m_zoomNum = numerator;
    m_zoomDen = denominator;
    SendNotify(UINOTIFY_RE_ZOOM, uintptr_t(numerator), denominator);
    return true;
}

void CRichEditUI::GetZoom(int& numerator, int& denominator) const {
    numerator = m_zoomNum;
    denominator = m_zoomDen;
}

void CRichEditUI::SetLimitImageSize(int32_t width, int32_t height) {
    m_limitWidth = std::max(0, width);
    m_limitHeight = std::max(0, height);
}

void CRichEditUI::GetLimitImageSize(int32_t& width, int32_t& height) const {
    width = m_limitWidth;
    height = m_limitHeight;
}

void CRichEditUI::FitImage(COleObject* object) const {
    auto* image = dynamic_cast<COleImageObj*>(object);
    if (!image || m_limitWidth <= 0 || m_limitHeight <= 0) return;
    const int64_t w = image->GetWidth(), h = image->GetHeight();
    if (w <= m_limitWidth && h <= m_limitHeight) return;
    // Scale by the tighter of the two limits, keeping the aspect.
    if (w * m_limitHeight >= h * m_limitWidth) {
        image->SetDisplaySize(m_limitWidth, int32_t(std::max<int64_t>(1, h * m_limitWidth / std::max<int64_t>(w, 1))));
    } else {
        image->SetDisplaySize(int32_t(std::max<int64_t>(1, w * m_limitHeight / std::max<int64_t>(h, 1))), m_limitHeight);
    }
}

int32_t CRichEditUI::GetCharTop(long pos) const { return LineOf(pos).top; }

int32_t CRichEditUI::GetCharLeft(long pos) const {
    pos = std::clamp(pos, 0L, GetTextLength());
    const SLineStart& line = LineOf(pos);
    int32_t left = 0;
    size_t object = size_t(line.objectsBefore);
    for (size_t i = size_t(line.start); i < size_t(pos); ++i) {
        if (m_text[i] == kObjectChar) left += m_objects[object++]->GetDisplayWidth();
        else if (IsBreak(m_text, i) || m_text[i] == u'\n') left = 0;
        else left += kCharWidth;
    }
    return left;
}

int32_t CRichEditUI::GetContentHeight() const {
    if (m_text.empty()) return 0;
    const long len = GetTextLength();
    const int32_t height = LineOf(len).top;
    // The last line counts unless the text ends with a break; measuring up
    // to the end left its height in m_scanLineHeight.
    if (IsBreak(m_text, m_text.size() - 1) || m_text.back() == u'\n') return height;
    return height + m_scanLineHeight;
}

int32_t CRichEditUI::GetScrollRange() const { return std::max(0, GetContentHeight() - std::max(0, GetHeight())); }

void CRichEditUI::SetScrollPos(int32_t pos) { m_scrollPos = std::clamp(pos, 0, GetScrollRange()); }

void CRichEditUI::EndDown() { m_scrollPos = GetScrollRange(); }

bool CRichEditUI::InsertObject(COleObject* object, long pos) {
    if (!object) return false;
    if (pos < 0 || pos > GetTextLength()) pos = m_selEnd;
    ReplaceRange(pos, pos, std::u16string(1, kObjectChar), {object});
    SetSel(pos + 1, pos + 1);
    return true;
}

COleImageObj* CRichEditUI::InsertImage(const std::u16string& path, long pos) {
    COleImageObj* image = COleImageObj::LoadImage(path, true);
    if (!image) return nullptr;
    InsertObject(image, pos);
    return image;
}

bool CRichEditUI::InsertControl(CControlUI* control, int32_t, int32_t width, long pos, int32_t height) {
    if (!control || control->GetParent()) return false;
    auto* object = new COleControlObj(control, width, height);
    control->SetParent(this);
    control->ForEach([this](CControlUI* c) { c->SetOwnerWindow(GetWindow()); });
    return InsertObject(object, pos);
}

bool CRichEditUI::RemoveControl(CControlUI* control) {
    for (size_t i = 0; i < m_objects.size(); ++i) {
        auto* holder = dynamic_cast<COleControlObj*>(m_objects[i].get());
        if (!holder || holder->GetControl() != control) continue;
        const long pos = GetObjectPos(holder);
        ReplaceRange(pos, pos + 1, u"");
        return true;
    }
    return false;
}

COleObject* CRichEditUI::GetObjectAt(int index) const {
    return index >= 0 && index < GetObjectCount() ? m_objects[size_t(index)].get() : nullptr;
}

COleObject* CRichEditUI::GetObjectAtPos(long charPos) const {
    if (charPos < 0 || charPos >= GetTextLength() || m_text[size_t(charPos)] != kObjectChar) return nullptr;
    return GetObjectAt(ObjectIndexBefore(charPos));
}

long CRichEditUI::GetObjectPos(const COleObject* object) const {
    size_t index = 0;
    for (size_t i = 0; i < m_text.size(); ++i) {
        if (m_text[i] != kObjectChar) continue;
        if (m_objects[index++].get() == object) return long(i);
    }
    return -1;
}

COleObject* CRichEditUI::FindObject(TPointUI point) const {
    for (const auto& object : m_objects) {
        RECT r;
        if (object->GetBound(r) && point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return object.get();
    }
    return nullptr;
}

void CRichEditUI::GetImageObj(CStdPtrArray& list, long from, long to) const {
    if (to < 0 || to > GetTextLength()) to = GetTextLength();
    for (const auto& object : m_objects) {
        auto* image = dynamic_cast<COleImageObj*>(object.get());
        const long pos = GetObjectPos(object.get());
        if (image && pos >= from && pos < to) list.Add(image);
    }
}

COleImageObj* CRichEditUI::FindImage(const std::u16string& key) const {
    for (const auto& object : m_objects) {
        auto* image = dynamic_cast<COleImageObj*>(object.get());
        if (image && image->GetKey() == key) return image;
    }
    return nullptr;
}

void CRichEditUI::InsertLink(const char16_t* text, CLinkObj* link, int type, bool flag, tagTextFormat*) {
    if (!text) return;
    const long start = m_selEnd;
    InsertText(text);
    m_links.push_back(SRichEditLink{start, m_selEnd, GetTextRange(start, m_selEnd), link, type, flag});
}

void CRichEditUI::RemoveLinks(long start, long end) {
    m_links.erase(std::remove_if(m_links.begin(), m_links.end(),
                                 [=](const SRichEditLink& link) { return link.start < end && link.end > start; }),
                  m_links.end());
}

void CRichEditUI::SetSelColor(uint32_t color) {
    if (HasSelection()) m_colorRuns.push_back(SColorRun{m_selStart, m_selEnd, color});
}

uint32_t CRichEditUI::GetCharColor(long pos) const {
    for (auto run = m_colorRuns.rbegin(); run != m_colorRuns.rend(); ++run) {
        if (pos >= run->start && pos < run->end) return run->color;
    }
    return m_format.crColor;
}

intptr_t CRichEditUI::TxSendMessage(uint32_t message, uintptr_t, intptr_t) {
    m_txMessages.push_back(message);
    return 0;
}

bool CRichEditUI::OnOleEvent(TEventUI&, COleObject*) { return false; }

void CRichEditUI::DoEvent(TEventUI& event) {
    if (event.Type != UIEVENT_CHAR || m_readOnly || !IsEnabled()) return;
    const char16_t key = event.chKey;
    if (key == u'\b') {
        if (!HasSelection() && m_selStart > 0) SetSel(m_selStart - 1, m_selStart);
        ReplaceSel(u"");
    } else if (key == u'\r' || key >= 0x20) {
        ReplaceSel(std::u16string(1, key));
    } else {
        return;
    }
    // wParam: whether the edit holds anything now.
    SendNotify(UINOTIFY_TEXTCHANGED, GetTextLength() > 0 ? 1 : 0);
}

CControlUI* CRichEditUI::FindSubControl(const std::u16string& name) {
    CControlUI* found = nullptr;
    ForEach([&](CControlUI* c) {
        if (!found && c != this && (c->GetName() == name || c->GetId() == name)) found = c;
    });
    return found;
}

void CRichEditUI::ForEach(const std::function<void(CControlUI*)>& visit) {
    visit(this);
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (auto* holder = dynamic_cast<COleControlObj*>(m_objects[i].get())) holder->GetControl()->ForEach(visit);
    }
}

void CRichEditUI::OnWindowChanged() {
    for (const auto& object : m_objects) {
        if (auto* holder = dynamic_cast<COleControlObj*>(object.get()))
            holder->GetControl()->ForEach([this](CControlUI* c) { c->SetOwnerWindow(GetWindow()); });
    }
}

COleControlObj::COleControlObj(CControlUI* control, int32_t width, int32_t height)
    : m_control(control), m_width(width > 0 ? width : 20), m_height(height > 0 ? height : 20) {}

COleControlObj::~COleControlObj() { CControlUI::Destroy(m_control); }

long COleObject::GetCharPos() const { return m_owner ? m_owner->GetObjectPos(this) : -1; }

bool COleObject::GetBound(RECT& bound) const {
    if (!m_owner) return false;
    const long pos = GetCharPos();
    if (pos < 0) return false;
    const RECT origin = m_owner->GetPos();
    bound.left = origin.left + m_owner->GetCharLeft(pos);
    bound.top = origin.top + m_owner->GetCharTop(pos) - m_owner->GetScrollPos();
    bound.right = bound.left + GetDisplayWidth();
    bound.bottom = bound.top + GetDisplayHeight();
    return true;
}
