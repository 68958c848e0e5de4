// Layout passes: grids of equal cells on a scrolled content rectangle.
#include <algorithm>

#include "sdk/ui/ContainerUI.h"

namespace {

int32_t ToInt(const std::u16string& v) {
    int32_t n = 0;
    bool neg = false;
    size_t i = 0;
    if (i < v.size() && v[i] == u'-') neg = true, ++i;
    for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9' && n < 100000000; ++i) n = n * 10 + (v[i] - u'0');
    return neg ? -n : n;
}

}  // namespace

void CLayoutUI::SetAttribute(const std::u16string& name, const std::u16string& value) {
    if (name == u"layout") {
        m_layoutType = value == u"grid" ? UILAYOUT_GRID
                     : value == u"vertical" ? UILAYOUT_VERTICAL
                     : value == u"horizontal" ? UILAYOUT_HORIZONTAL
                                              : UILAYOUT_FREE;
    } else if (name == u"startx") {
        m_params.startX = ToInt(value);
    } else if (name == u"starty") {
        m_params.startY = ToInt(value);
    } else if (name == u"spacex") {
        m_params.spaceX = ToInt(value);
    } else if (name == u"spacey") {
        m_params.spaceY = ToInt(value);
    } else if (name == u"vscroll" || name == u"hscroll") {
        m_params.hasScrollBar = m_params.hasScrollBar || value == u"true";
    }
    CContainerUI::SetAttribute(name, value);
}

void CLayoutUI::SetScrollPos(TPointUI pos) {
    m_scroll = TPointUI{std::max(0, pos.x), std::max(0, pos.y)};
}

TSizeUI CLayoutUI::LayoutChildren() {
    const RECT area = GetPos();
    const RECT content{area.left - m_scroll.x, area.top - m_scroll.y, area.right - m_scroll.x, area.bottom - m_scroll.y};
    TSizeUI size;
    OnChildSize(size, area, content);
    return size;
}

void CLayoutUI::OnChildSize(TSizeUI& size, const RECT& area, const RECT& content) {
    size = TSizeUI{};
    if (GetCount() == 0 || m_layoutType != UILAYOUT_GRID) return;
    size = UICustomControlHelper::LayoutChildGrid(area, content, m_params, GetItems());
}

TSizeUI UICustomControlHelper::LayoutChildGrid(const RECT& area, const RECT& content, const TLayoutParams& params,
                                               const std::vector<CControlUI*>& children) {
    if (children.empty()) return TSizeUI{};
    const int32_t cellW = std::max(1, children.front()->GetWidth());
    const int32_t cellH = std::max(1, children.front()->GetHeight());
    const int32_t usable = (area.right - area.left) - params.startX;
    const int32_t perRow = std::max(1, (usable + params.spaceX) / (cellW + params.spaceX));
    const int32_t count = int32_t(children.size());
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = content.left + params.startX + (i % perRow) * (cellW + params.spaceX);
        const int32_t y = content.top + params.startY + (i / perRow) * (cellH + params.spaceY);
        children[size_t(i)]->SetPos(RECT{x, y, x + cellW, y + cellH});
    }
    const int32_t rows = (count + perRow - 1) / perRow;
    const int32_t columns = std::min(count, perRow);
    return TSizeUI{params.startX + columns * cellW + (columns - 1) * params.spaceX,
                   params.startY + rows * cellH + (rows - 1) * params.spaceY};
}
