#include "WindowPictureText.h"

#include <algorithm>

#include "Svg.h"

namespace host {

// Without font metrics the width is an estimate: ideographs, kana, Hangul,
// full-width forms and emoji take a whole em, spaces and Latin letters
// about half of one.
double Advance(char32_t c, double size) {
    if (c == ' ') return size * 0.3;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60) || c >= 0x1F000;
    if (wide) return size;
    if (c >= 'A' && c <= 'Z') return size * 0.7;
    return size * 0.6;
}

double TextWidth(std::u16string_view text, double size) {
    double width = 0;
    ForEachChar(text, [&](char32_t c, std::u16string_view) { width += Advance(c, size); });
    return width;
}

EPictureLook LookOf(const COleImageObj& picture) {
    if (picture.GetImageType() == 1 || picture.GetImageType() == 2) return EPictureLook::Face;
    if (picture.GetImageType() == kImageTypeFileIcon) return EPictureLook::File;
    return EPictureLook::Photo;
}

void Flow::AddText(std::u16string_view text) {
    ForEachChar(text, [this](char32_t c, std::u16string_view units) {
        if (c == '\r' || c == '\n') Break();
        else AddChar(c, units);
    });
}

void Flow::AddPicture(const COleImageObj* picture) {
    double width = std::max(picture->GetDisplayWidth(), 16);
    double height = std::max(picture->GetDisplayHeight(), 16);
    // A picture that did not load (or is still on its way) keeps a
    // picture's room; a file shows as an icon with its name.
    if (LookOf(*picture) == EPictureLook::Photo && picture->GetWidth() <= 0) {
        width = 96;
        height = 64;
    } else if (LookOf(*picture) == EPictureLook::File) {
        width = 140;
        height = 40;
    }
    const double scale = std::min({1.0, m_max / width, 140.0 / height});
    width *= scale;
    height *= scale;
    if (m_lines.back().width + width > m_max && m_lines.back().width > 0) Break();
    FlowLine& line = m_lines.back();
    line.pieces.push_back(Piece{line.width, u"", picture, width, height});
    line.width += width;
    line.height = std::max(line.height, height + 2);
}

std::vector<FlowLine> Flow::Finish() {
    for (FlowLine& line : m_lines) line.height = std::max(line.height, kLineHeight * m_size / kFontSize);
    return std::move(m_lines);
}

void Flow::AddChar(char32_t c, std::u16string_view units) {
    const double advance = Advance(c, m_size);
    if (c != ' ' && m_lines.back().width + advance > m_max && m_lines.back().width > 0) Wrap();
    FlowLine& line = m_lines.back();
    if (line.pieces.empty() || line.pieces.back().picture) line.pieces.push_back(Piece{line.width, u"", nullptr, 0, 0});
    line.pieces.back().text += units;
    line.pieces.back().width += advance;
    line.width += advance;
}

// Starts a line, taking along the word being typed when a space came
// before it on this line.
void Flow::Wrap() {
    std::u16string carry;
    FlowLine& line = m_lines.back();
    if (!line.pieces.empty() && !line.pieces.back().picture) {
        std::u16string& text = line.pieces.back().text;
        const size_t space = text.find_last_of(u' ');
        if (space != std::u16string::npos) {
            carry = text.substr(space + 1);
            text.resize(space + 1);
            const double carried = TextWidth(carry, m_size);
            line.pieces.back().width -= carried;
            line.width -= carried;
        }
    }
    Break();
    if (!carry.empty()) AddText(carry);
}

std::vector<FlowLine> FlowEdit(const CRichEditUI* edit, long start, long end, double maxWidth, double size) {
    Flow flow(maxWidth, size);
    const std::u16string text = edit->GetTextRange(start, end);
    size_t run = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != kObjectChar) continue;
        flow.AddText(std::u16string_view(text).substr(run, i - run));
        run = i + 1;
        if (i == text.size()) break;
        if (auto* picture = dynamic_cast<const COleImageObj*>(edit->GetObjectAtPos(start + long(i)))) flow.AddPicture(picture);
    }
    return flow.Finish();
}

double LinesHeight(const std::vector<FlowLine>& lines) {
    double height = 0;
    for (const FlowLine& line : lines) height += line.height;
    return height;
}

double LinesWidth(const std::vector<FlowLine>& lines) {
    double width = 0;
    for (const FlowLine& line : lines) width = std::max(width, line.width);
    return width;
}

}  // namespace host
