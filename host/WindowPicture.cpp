#include "WindowPicture.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "Svg.h"
#include "WindowPictureText.h"
#include "sdk/chatwnd.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/ComboBoxUI.h"
#include "sdk/ui/ListUI.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"

namespace host {

namespace {

constexpr double kTitleHeight = 36;
constexpr double kSmallFont = 11;
constexpr double kBubblePad = 8;
constexpr double kAvatar = 28;
constexpr double kGap = 10;
// A longer message shows its first lines and how long it is.
constexpr size_t kMaxBubbleLines = 8;
constexpr double kMenuRow = 24;
constexpr double kListRow = 28;

// The picture's colours.
const std::string kInk = "fill=\"#1f2329\"";
const std::string kMuted = "fill=\"#8f959e\"";
const std::string kLink = "fill=\"#3370ff\"";

std::string Font(double size, const std::string& more = "") {
    return "font-size=\"" + Num(size) + "\"" + (more.empty() ? "" : " " + more);
}

// A text the skin gives as a key ("#CLOSE") shows in the user's language.
std::u16string Shown(const std::u16string& text) {
    return !text.empty() && text[0] == u'#' ? sim::LocalisedText(text) : text;
}

// The text without embedded objects and without the line breaks that end it.
std::u16string WithoutObjects(const std::u16string& text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c != kObjectChar) out += c;
    }
    while (!out.empty() && (out.back() == u'\r' || out.back() == u'\n')) out.pop_back();
    return out;
}

std::u16string Trimmed(std::u16string text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c != kObjectChar) out += c;
    }
    const size_t first = out.find_first_not_of(u" \r\n");
    if (first == std::u16string::npos) return u"";
    return out.substr(first, out.find_last_not_of(u" \r\n") - first + 1);
}

// The glyph a tool bar button without text shows, by its control id.
std::u16string ButtonGlyph(const std::u16string& id) {
    static const std::pair<const char16_t*, const char16_t*> kGlyphs[] = {
        {u"font", u"A"},         {u"emoticon", u"\u263A"}, {u"syspic", u"\u2740"},    {u"pic", u"\u25A8"},
        {u"takephoto", u"\u25C9"}, {u"capture", u"\u2702"}, {u"imageediter", u"\u270E"}, {u"shake", u"\u224B"},
        {u"receivetype", u"\u2699"}, {u"message", u"\u2709"}, {u"sendmsgmenu", u"\u25BE"}, {u"save", u"\u2B73"},
        {u"edit", u"\u270E"},    {u"addface", u"\u263A"}, {u"decode", u"\u25A6"},
        {u"fontbold", u"B"},     {u"fontitalic", u"I"},  {u"fontunderline", u"U"}, {u"fontcolor", u"\u25A0"},
    };
    for (const auto& [name, glyph] : kGlyphs) {
        if (id == name) return glyph;
    }
    // A close or cancel cross on tip bars and anything else small.
    return u"\u00D7";
}

std::string Colour(uint32_t colorRef) {
    char buffer[8];
    std::snprintf(buffer, sizeof(buffer), "#%02x%02x%02x", colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
    return buffer;
}

// The name of the window's peer as its title shows it: a group's name, or
// the person's.
std::u16string PeerName(const std::string& peer) {
    qel_handle buddies = qel_account_buddies(sim::CurrentAccount());
    qel_handle groups = buddies ? qel_buddies_find_cate(buddies, 2) : nullptr;
    if (qel_handle group = groups ? qel_buddies_cate_find_buddy_group(groups, peer.c_str()) : nullptr) {
        const std::u16string name = sim::ToWide(qel_attribs_get_str(group, "name", ""));
        return name.empty() ? sim::ToWide(peer) : name;
    }
    const std::u16string id = sim::ToWide(peer);
    return common::GetUserNameOnShow(id.c_str());
}

std::u16string Initial(const std::u16string& name) {
    std::u16string initial;
    ForEachChar(name, [&](char32_t c, std::u16string_view units) {
        if (initial.empty()) initial = c >= 'a' && c <= 'z' ? std::u16string(1, char16_t(c - 'a' + 'A')) : std::u16string(units);
    });
    return initial;
}

// A few calm colours for avatars, one per name.
std::string AvatarFill(const std::u16string& name) {
    static const char* const kFills[] = {"#7b8cde", "#e6a23c", "#67c23a", "#d46fa0", "#4bb2c7", "#a47be0"};
    size_t hash = 0;
    for (char16_t c : name) hash = hash * 31 + c;
    return std::string("fill=\"") + kFills[hash % std::size(kFills)] + "\"";
}

// ---- the painter ----

class WindowPainter {
public:
    WindowPainter(CChatWindowUI* window, Svg& svg) : m_window(window), m_svg(svg) {
        tavi::ITavi* component = window->GetTavi();
        m_history = component ? component->GetMsgHistoryRichEdit() : nullptr;
        m_input = component ? component->GetInputRichEdit() : nullptr;
    }

    void Paint(double width) {
        DrawTitle(width);
        m_svg.Open("g", "transform=\"translate(0," + Num(kTitleHeight) + ")\"");
        DrawControl(m_window->GetRoot());
        DrawPopups();
        DrawMenu();
        m_svg.Close("g");
    }

private:
    void DrawTitle(double width) {
        const std::u16string name = PeerName(sim::ChatWindowPeer(m_window->GetHWND()));
        m_svg.Open("g", "class=\"title\"");
        m_svg.Rect(0, 0, width, kTitleHeight, "fill=\"#f5f6f7\"");
        m_svg.Line(0, kTitleHeight - 0.5, width, kTitleHeight - 0.5, "stroke=\"#dee0e3\"");
        DrawAvatar(22, kTitleHeight / 2, 12, name);
        m_svg.Text(42, 23, name, Font(14, "font-weight=\"bold\" " + kInk));
        m_svg.Close("g");
    }

    void DrawAvatar(double cx, double cy, double r, const std::u16string& name) {
        m_svg.Circle(cx, cy, r, AvatarFill(name));
        m_svg.Text(cx, cy + r * 0.42, Initial(name), Font(r * 1.1, "fill=\"#fff\" text-anchor=\"middle\""));
    }

    // A control and what it holds, unless hidden.
    void DrawControl(CControlUI* control) {
        if (!control || !control->IsVisible()) return;
        const RECT r = control->GetPos();
        if (auto* edit = dynamic_cast<CRichEditUI*>(control)) {
            if (edit == m_history) DrawHistory(m_history, r);
            else DrawEdit(edit, r);
            return;
        }
        if (auto* list = dynamic_cast<CListUI*>(control)) {
            DrawList(list, r);
            return;
        }
        DrawOwnLook(control, r);
        auto* layout = dynamic_cast<CLayoutUI*>(control);
        if (layout && layout->GetLayoutType() == UILAYOUT_GRID) {
            DrawGrid(layout, r);
        } else if (auto* container = dynamic_cast<CContainerUI*>(control)) {
            for (CControlUI* child : container->GetItems()) DrawControl(child);
        }
    }

    // A grid places its children in cells when the framework paints it;
    // the picture finds the same cells without moving anything: equal
    // cells of the first child's size, row by row from the start offsets,
    // as many per row as fit, moved by the scroll position.
    void DrawGrid(CLayoutUI* grid, const RECT& r) {
        const auto& children = grid->GetItems();
        if (children.empty()) return;
        const TLayoutParams params = grid->GetLayoutParams();
        const int32_t cellW = std::max(1, children.front()->GetWidth());
        const int32_t cellH = std::max(1, children.front()->GetHeight());
        const int32_t perRow = std::max(1, (r.right - r.left - params.startX + params.spaceX) / (cellW + params.spaceX));
        const std::string clip = "clip" + std::to_string(++m_clips);
        m_svg.ClipRect(clip, r.left, r.top, r.right - r.left, r.bottom - r.top);
        m_svg.Open("g", "clip-path=\"url(#" + clip + ")\"");
        for (size_t i = 0; i < children.size(); ++i) {
            const RECT at = children[i]->GetPos();
            const int32_t x = r.left - grid->GetScrollPos().x + params.startX + int32_t(i) % perRow * (cellW + params.spaceX);
            const int32_t y = r.top - grid->GetScrollPos().y + params.startY + int32_t(i) / perRow * (cellH + params.spaceY);
            m_svg.Open("g", "transform=\"translate(" + Num(x - at.left) + "," + Num(y - at.top) + ")\"");
            DrawControl(children[i]);
            m_svg.Close("g");
        }
        m_svg.Close("g");
    }

    bool IsTipBar(const CControlUI* control) const {
        return m_history && control->GetParent() == m_history->GetParent() && control != m_history &&
               dynamic_cast<const CContainerUI*>(control);
    }

    void DrawOwnLook(CControlUI* control, const RECT& r) {
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        if (w <= 0 || h <= 0) return;
        const std::u16string& name = control->GetName();
        const std::u16string text = Shown(control->GetText());
        if (IsTipBar(control)) {
            m_svg.Rect(r.left, r.top, w, h, "class=\"tip\" fill=\"#fff7e6\"");
            m_svg.Line(r.left, r.bottom - 0.5, r.right, r.bottom - 0.5, "stroke=\"#f5d9a8\"");
            // A bar whose skin paints its message shows at least which bar it is.
            bool hasText = false;
            control->ForEach([&hasText](CControlUI* c) { hasText = hasText || (c->IsVisible() && !c->GetText().empty()); });
            const std::u16string barName = name.substr(name.rfind(u'.') + 1);
            if (!hasText) m_svg.Text(r.left + 24, r.top + h / 2 + 4, barName, Font(kSmallFont, kMuted + " font-style=\"italic\""));
        } else if (name.ends_with(u".bk")) {
            m_svg.Rect(r.left, r.top, w, h, "fill=\"#f2f3f5\"");
        } else if (name.ends_with(u"toolbk")) {
            m_svg.Rect(r.left, r.top, w, h, "fill=\"#fafafa\"");
            m_svg.Line(r.left, r.top + 0.5, r.right, r.top + 0.5, "stroke=\"#dee0e3\"");
        } else if (dynamic_cast<CComboBoxUI*>(control)) {
            m_svg.Rect(r.left + 0.5, r.top + 0.5, w - 1, h - 1, "fill=\"#fff\" stroke=\"#c9cdd4\"", 3);
            m_svg.Text(r.left + 5, r.top + h / 2 + 4, text, Font(kSmallFont, kInk));
            m_svg.Text(r.right - 12, r.top + h / 2 + 4, u"\u25BE", Font(kSmallFont, kMuted));
        } else if (std::u16string_view(control->GetClassName()).find(u"Button") != std::u16string_view::npos ||
                   std::u16string_view(control->GetClassName()) == u"Option") {
            DrawButton(control, r, text);
        } else if (!text.empty()) {
            m_svg.Text(r.left + 4, r.top + std::min(h, 24.0) / 2 + 4, text, Font(kSmallFont, kInk));
        }
    }

    void DrawButton(CControlUI* control, const RECT& r, const std::u16string& text) {
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        const std::string faded = control->IsEnabled() ? "" : " opacity=\"0.45\"";
        if (text.empty()) {
            // A wide button without text is a band the skin paints.
            if (w > 2 * h) return;
            const double size = std::min(w, h);
            if (control->IsSelected()) m_svg.Rect(r.left + 1, r.top + 1, w - 2, h - 2, "fill=\"#e1eaff\"", 4);
            m_svg.Text(r.left + w / 2, r.top + h / 2 + size * 0.22, ButtonGlyph(control->GetId()),
                       Font(size * 0.62, "fill=\"#646a73\" text-anchor=\"middle\"" + faded));
            return;
        }
        const bool primary = control->GetId() == u"sendmsg";
        m_svg.Rect(r.left + 0.5, r.top + 0.5, w - 1, h - 1,
                   primary ? "fill=\"#3370ff\"" + faded : "fill=\"#fff\" stroke=\"#c9cdd4\"" + faded, 4);
        const bool bar = IsTipBar(control->GetParent());
        m_svg.Text(bar ? r.left + 4 : r.left + w / 2, r.top + h / 2 + 4.5, text,
                   Font(12, (primary ? "fill=\"#fff\"" : bar ? kLink : kInk) +
                                (bar ? std::string() : " text-anchor=\"middle\"") + faded));
    }

    // An edit as a box with its text in its own font.
    void DrawEdit(CRichEditUI* edit, const RECT& r) {
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        if (w <= 0 || h <= 0) return;
        tagTextFormat format;
        edit->GetDefaultCharFormat(format);
        const double size = std::max(1, format.nSize) * 96.0 / 72.0;
        std::string style = Font(size, "fill=\"" + Colour(format.crColor) + "\"");
        const std::u16string face(format.szFaceName);
        if (!face.empty()) style += " font-family=\"" + XmlText(face) + ", sans-serif\"";
        if (format.dwEffects & TF_BOLD) style += " font-weight=\"bold\"";
        if (format.dwEffects & TF_ITALIC) style += " font-style=\"italic\"";
        if (format.dwEffects & TF_UNDERLINE) style += " text-decoration=\"underline\"";

        const bool input = edit == m_input;
        m_svg.Open("g", input ? "class=\"input\"" : "class=\"edit\"");
        m_svg.Title(WithoutObjects(edit->GetText()));
        m_svg.Rect(r.left, r.top, w, h, "fill=\"#fff\"");
        const std::string clip = "clip" + std::to_string(++m_clips);
        m_svg.ClipRect(clip, r.left, r.top, w, h);
        m_svg.Open("g", "clip-path=\"url(#" + clip + ")\"");
        const auto lines = FlowEdit(edit, 0, edit->GetTextLength(), w - 16, size);
        double y = r.top + 6;
        for (const FlowLine& line : lines) {
            DrawLine(line, r.left + 8, y, style, size);
            y += line.height;
        }
        m_svg.Close("g");
        m_svg.Close("g");
    }

    // One laid-out line with its top at y.
    void DrawLine(const FlowLine& line, double left, double top, const std::string& style, double size) {
        const double baseline = top + line.height - (line.height - size) / 2 - size * 0.22;
        for (const Piece& piece : line.pieces) {
            if (piece.picture) DrawPicture(*piece.picture, left + piece.x, top + (line.height - piece.height) / 2, piece.width, piece.height);
            else m_svg.Text(left + piece.x, baseline, piece.text, style);
        }
    }

    // A picture's place: smileys as a small face, files as an icon with
    // their name, pictures as a framed landscape named by its file.
    void DrawPicture(const COleImageObj& picture, double x, double y, double w, double h) {
        // Named by its file name: where the file lies is not what a person sees.
        std::u16string path =
            picture.GetFilePath().empty() || picture.GetFilePath()[0] == u'#' ? picture.GetKey() : picture.GetFilePath();
        path = path.substr(std::min(path.size(), path.find_last_of(u"/\\") + 1));
        if (LookOf(picture) == EPictureLook::File) {
            m_svg.Open("g", "class=\"file\"");
            m_svg.Title(path);
            m_svg.Rect(x, y, w, h, "fill=\"#fff\" stroke=\"#c9cdd4\"", 4);
            m_svg.Path("M" + Num(x + 8) + " " + Num(y + 6) + " h16 l6 6 v22 h-22 Z", "fill=\"#e1eaff\" stroke=\"#3370ff\"");
            m_svg.Text(x + 38, y + h / 2 + 4, path, Font(kSmallFont, kInk));
            m_svg.Close("g");
            return;
        }
        if (LookOf(picture) == EPictureLook::Face) {
            const double r = std::min(w, h) / 2;
            m_svg.Circle(x + w / 2, y + h / 2, r - 1, "class=\"smiley\" fill=\"#ffd24a\" stroke=\"#e0a800\"");
            m_svg.Path("M" + Num(x + w / 2 - r * 0.45) + " " + Num(y + h / 2 + r * 0.2) + " Q" + Num(x + w / 2) + " " +
                           Num(y + h / 2 + r * 0.65) + " " + Num(x + w / 2 + r * 0.45) + " " + Num(y + h / 2 + r * 0.2),
                       "fill=\"none\" stroke=\"#7a5200\"");
            return;
        }
        m_svg.Open("g", "class=\"picture\"");
        m_svg.Title(path);
        m_svg.Rect(x, y, w, h, "fill=\"#dbe8f5\" stroke=\"#b7c7d9\"", 4);
        m_svg.Circle(x + w * 0.72, y + h * 0.3, std::min(w, h) * 0.1, "fill=\"#f7c948\"");
        m_svg.Path("M" + Num(x + 2) + " " + Num(y + h - 2) + " L" + Num(x + w * 0.35) + " " + Num(y + h * 0.45) + " L" +
                       Num(x + w * 0.6) + " " + Num(y + h * 0.75) + " L" + Num(x + w * 0.75) + " " + Num(y + h * 0.6) +
                       " L" + Num(x + w - 2) + " " + Num(y + h - 2) + " Z",
                   "fill=\"#7fa77a\"");
        m_svg.Close("g");
    }

    // ---- the history view ----

    struct Block {
        const sim::ViewItem* item = nullptr;
        std::string kind;  // "bubble", "notice", "pane"
        std::u16string sender;
        std::u16string senderName;
        bool own = false;
        bool failed = false;
        bool cut = false;
        std::u16string fullText;
        std::vector<FlowLine> lines;
        std::u16string link;  // a notice's buttons, such as resend
        double height = 0;
    };

    Block MakeBlock(const sim::ViewItem& item, double viewWidth) {
        Block block;
        block.item = &item;
        const std::u16string text = m_history->GetTextRange(item.start, item.end);
        const size_t colon = text.find(u": ");
        if (item.kind == "msg" && colon != std::u16string::npos) {
            block.kind = "bubble";
            block.sender = text.substr(0, colon);
            block.senderName = common::GetUserNameOnShow(block.sender.c_str());
            block.own = common::IsOwner(block.sender.c_str());
            block.failed = sim::IsMarkedFailed(m_history, item.id);
            const long bodyStart = item.start + long(colon) + 2;
            long bodyEnd = item.end;
            while (bodyEnd > bodyStart && text[size_t(bodyEnd - 1 - item.start)] == u'\r') --bodyEnd;
            block.fullText = WithoutObjects(m_history->GetTextRange(bodyStart, bodyEnd));
            block.lines = FlowEdit(m_history, bodyStart, bodyEnd, viewWidth * 0.6, kFontSize);
            if (block.lines.size() > kMaxBubbleLines) {
                block.lines.resize(kMaxBubbleLines);
                block.cut = true;
            }
            block.height = LinesHeight(block.lines) + 2 * kBubblePad + (block.cut ? kLineHeight : 0);
            if (!block.own) block.height += 16;
            block.height = std::max(block.height, kAvatar) + kGap;
            return block;
        }
        const std::u16string controls = item.id ? sim::ShownControlText(m_history, item.id) : u"";
        block.kind = item.kind == "msg" ? "notice" : item.kind == "notice" ? "notice" : "pane";
        block.fullText = block.kind == "pane" && !controls.empty() ? controls : Trimmed(text);
        if (block.kind == "notice") block.link = controls;
        Flow flow(viewWidth * 0.8, kSmallFont);
        flow.AddText(block.fullText);
        block.lines = flow.Finish();
        block.height = LinesHeight(block.lines) + (block.link.empty() ? 0 : kLineHeight) + kGap;
        return block;
    }

    void DrawHistory(CRichEditExUI* view, const RECT& r) {
        const double w = r.right - r.left;
        const double h = r.bottom - r.top;
        std::vector<sim::ViewItem> items;
        for (const sim::ViewItem& item : sim::ViewItems(view, true)) {
            const bool empty = Trimmed(view->GetTextRange(item.start, item.end)).empty() &&
                               (!item.id || sim::ShownControlText(view, item.id).empty());
            if (item.visible && !empty) items.push_back(item);
        }
        std::vector<Block> blocks;
        double total = kGap;
        for (const sim::ViewItem& item : items) {
            blocks.push_back(MakeBlock(item, w));
            total += blocks.back().height;
        }
        // Scrolled to its end, the view shows its newest items at the
        // bottom; scrolled up, it shows from its first visible item.
        size_t first = 0;
        double y = r.top + kGap;
        int64_t firstVisible = 0, lastVisible = 0;
        if (total > h && view->IsAtEnd()) {
            y = r.bottom - total + kGap;
        } else if (total > h && view->GetVisibleMsg(firstVisible, lastVisible)) {
            while (first < blocks.size() && blocks[first].item->id != firstVisible) ++first;
            if (first == blocks.size()) first = 0;
        }
        m_svg.Open("g", "class=\"history\"");
        const std::string clip = "clip" + std::to_string(++m_clips);
        m_svg.ClipRect(clip, r.left, r.top, w, h);
        m_svg.Open("g", "clip-path=\"url(#" + clip + ")\"");
        for (size_t i = first; i < blocks.size() && y < r.bottom; ++i) {
            if (y + blocks[i].height > r.top) DrawBlock(blocks[i], r, y);
            y += blocks[i].height;
        }
        m_svg.Close("g");
        m_svg.Close("g");
    }

    void DrawBlock(const Block& block, const RECT& r, double top) {
        const double w = r.right - r.left;
        const std::string id = "data-id=\"" + std::to_string(block.item->id) + "\"";
        if (block.kind != "bubble") {
            const bool pane = block.kind == "pane";
            m_svg.Open("g", "class=\"" + block.kind + "\" " + id);
            double y = top;
            for (const FlowLine& line : block.lines) {
                const double x = r.left + (w - line.width) / 2;
                if (pane) {
                    m_svg.Line(r.left + 40, y + line.height / 2, x - 8, y + line.height / 2, "stroke=\"#dee0e3\"");
                    m_svg.Line(x + line.width + 8, y + line.height / 2, r.right - 40, y + line.height / 2, "stroke=\"#dee0e3\"");
                }
                DrawLine(line, x, y, Font(kSmallFont, pane && block.item->kind == "header" ? kLink : kMuted), kSmallFont);
                y += line.height;
            }
            if (!block.link.empty()) m_svg.Text(r.left + w / 2, y + 13, block.link, Font(kSmallFont, kLink + " text-anchor=\"middle\""));
            m_svg.Close("g");
            return;
        }
        const double textWidth = LinesWidth(block.lines);
        const double bubbleW = std::max(textWidth, block.cut ? 120.0 : 0.0) + 2 * kBubblePad;
        const double bubbleH = LinesHeight(block.lines) + 2 * kBubblePad + (block.cut ? kLineHeight : 0);
        const double avatarX = block.own ? r.right - 12 - kAvatar / 2 : r.left + 12 + kAvatar / 2;
        const double bubbleX = block.own ? avatarX - kAvatar / 2 - 8 - bubbleW : avatarX + kAvatar / 2 + 8;
        double y = top;
        m_svg.Open("g", "class=\"bubble " + std::string(block.own ? "own" : "other") + (block.failed ? " failed" : "") + "\" " + id);
        m_svg.Title(block.fullText);
        DrawAvatar(avatarX, y + kAvatar / 2, kAvatar / 2, block.senderName);
        if (!block.own) {
            m_svg.Text(bubbleX + 2, y + 11, block.senderName, Font(kSmallFont - 1, kMuted));
            y += 16;
        }
        m_svg.Rect(bubbleX, y, bubbleW, bubbleH, block.own ? "fill=\"#cce4ff\"" : "fill=\"#fff\" stroke=\"#e4e6e9\"", 8);
        double lineTop = y + kBubblePad;
        for (const FlowLine& line : block.lines) {
            DrawLine(line, bubbleX + kBubblePad, lineTop, Font(kFontSize, kInk), kFontSize);
            lineTop += line.height;
        }
        if (block.cut) {
            m_svg.Text(bubbleX + kBubblePad, lineTop + 13,
                       u"\u2026 (" + sim::ToWide(std::to_string(block.fullText.size())) + u" characters)",
                       Font(kSmallFont, kMuted + " font-style=\"italic\""));
        }
        if (block.failed) {
            const double cx = bubbleX - 14;
            const double cy = y + bubbleH / 2;
            m_svg.Circle(cx, cy, 8, "class=\"failed-mark\" fill=\"#f54a45\"");
            m_svg.Text(cx, cy + 4.5, u"!", Font(12, "font-weight=\"bold\" fill=\"#fff\" text-anchor=\"middle\""));
        }
        m_svg.Close("g");
    }

    // ---- lists, popups and menus ----

    // Rows from the list's top row, as many as fit; the selected one marked.
    void DrawList(CListUI* list, const RECT& r) {
        m_svg.Open("g", "class=\"list\"");
        double y = r.top;
        for (int i = std::max(0, list->GetTopIndex()); i < list->GetCount() && y + kListRow <= r.bottom + 1; ++i) {
            CControlUI* row = list->GetItemAt(i);
            if (!row || !row->IsVisible()) continue;
            if (i == list->GetCurSel()) m_svg.Rect(r.left, y, r.right - r.left, kListRow, "class=\"selected\" fill=\"#e1eaff\"", 4);
            std::u16string text;
            row->ForEach([&text](CControlUI* c) {
                if (c->IsVisible() && !c->GetText().empty()) text += (text.empty() ? u"" : u"  ") + c->GetText();
            });
            m_svg.Text(r.left + 8, y + kListRow / 2 + 4.5, text, Font(12, kInk));
            y += kListRow;
        }
        m_svg.Close("g");
    }

    // A point of the screen in the picture's client area, moved so that a
    // box of that size stays inside it.
    TPointUI Place(TPointUI screen, double w, double h) const {
        TPointUI p = m_window->ScreenToClient(screen);
        const RECT client = m_window->GetClientRect();
        p.x = int32_t(std::clamp<double>(p.x, 0, std::max(0.0, client.right - w)));
        p.y = int32_t(std::clamp<double>(p.y, 0, std::max(0.0, client.bottom - h)));
        return p;
    }

    void DrawFloatingBox(double x, double y, double w, double h) {
        m_svg.Rect(x + 2, y + 3, w, h, "fill=\"#000\" opacity=\"0.12\"", 6);
        m_svg.Rect(x, y, w, h, "fill=\"#fff\" stroke=\"#dee0e3\"", 6);
    }

    // The framework's other windows that show over this one: the member
    // popup, the emoticon picker, the recent lists, the image tool bar.
    void DrawPopups() {
        for (CWindowUI* popup : sim::Windows()) {
            if (popup == m_window || !popup->IsWindowVisible() || sim::FindChatWindow(popup->GetHWND())) continue;
            const HWND parent = popup->GetParentHWND();
            if (parent && parent != m_window->GetHWND() && sim::FindChatWindow(parent)) continue;
            const RECT wr = popup->GetWindowRect();
            const double w = wr.right - wr.left;
            const double h = wr.bottom - wr.top;
            if (w <= 0 || h <= 0) continue;
            const TPointUI at = Place(TPointUI{wr.left, wr.top}, w, h);
            m_svg.Open("g", "class=\"popup\" data-name=\"" + XmlText(popup->GetWindowName()) + "\" transform=\"translate(" +
                                Num(at.x) + "," + Num(at.y) + ")\"");
            DrawFloatingBox(0, 0, w, h);
            DrawControl(popup->GetRoot());
            m_svg.Close("g");
        }
    }

    void DrawMenu() {
        CMenuUI* menu = sim::OpenMenu();
        if (!menu) return;
        const auto& items = menu->GetItems();
        double w = 120;
        double h = 8;
        for (const SMenuItem& item : items) {
            w = std::max(w, TextWidth(item.text, 12) + 48);
            h += item.separator ? 9 : kMenuRow;
        }
        const TPointUI at = Place(menu->GetShowPoint(), w, h);
        m_svg.Open("g", "class=\"menu\" data-id=\"" + std::to_string(menu->GetMenuId()) + "\"");
        DrawFloatingBox(at.x, at.y, w, h);
        double y = at.y + 4;
        for (const SMenuItem& item : items) {
            if (item.separator) {
                m_svg.Line(at.x + 8, y + 4.5, at.x + w - 8, y + 4.5, "stroke=\"#dee0e3\"");
                y += 9;
                continue;
            }
            const std::string ink = item.enabled ? kInk : "fill=\"#bbbfc4\"";
            if (item.checked) m_svg.Text(at.x + 10, y + 16.5, u"\u2713", Font(12, ink));
            m_svg.Text(at.x + 26, y + 16.5, item.text, Font(12, ink));
            if (!item.children.empty()) m_svg.Text(at.x + w - 14, y + 16.5, u"\u203A", Font(12, ink));
            y += kMenuRow;
        }
        m_svg.Close("g");
    }

    CChatWindowUI* m_window;
    Svg& m_svg;
    CRichEditExUI* m_history = nullptr;
    CRichEditUI* m_input = nullptr;
    int m_clips = 0;
};

}  // namespace

std::string DrawWindowPicture(HWND chatWindow) {
    CChatWindowUI* window = sim::FindChatWindow(chatWindow);
    if (!window) {
        Svg svg(320, 60);
        svg.Rect(0, 0, 320, 60, "fill=\"#f5f6f7\"");
        svg.Text(160, 35, u"No chat window is open.", Font(kFontSize, kMuted + " text-anchor=\"middle\""));
        return svg.Finish();
    }
    const RECT client = window->GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top + int(kTitleHeight);
    Svg svg(width, height);
    svg.Rect(0, 0, width, height, "fill=\"#fff\"");
    WindowPainter(window, svg).Paint(width);
    svg.Rect(0.5, 0.5, width - 1, height - 1, "fill=\"none\" stroke=\"#c9cdd4\"");
    return svg.Finish();
}

bool WriteWindowPicture(HWND chatWindow, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << DrawWindowPicture(chatWindow);
    return bool(out.flush());
}

}  // namespace host
