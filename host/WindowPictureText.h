// Laying out the texts of the window picture: estimated widths of
// characters, and lines of text and embedded pictures that wrap at a width.
#pragma once

#include <string>
#include <vector>

#include "sdk/ui/RichEditUI.h"

namespace host {

constexpr double kFontSize = 13;
constexpr double kLineHeight = 18;

// The estimated width of a character, and of a text, at a font size.
double Advance(char32_t c, double size);
double TextWidth(std::u16string_view text, double size);

// What an embedded picture object shows: a smiley or emoji face (types 1
// and 2), a file as its icon, or a picture.
enum class EPictureLook { Face, File, Photo };
EPictureLook LookOf(const COleImageObj& picture);

struct Piece {
    double x = 0;
    std::u16string text;                    // a run of text, or
    const COleImageObj* picture = nullptr;  // an embedded picture
    double width = 0;
    double height = 0;
};

struct FlowLine {
    std::vector<Piece> pieces;
    double width = 0;
    double height = 0;
};

// Fills lines of at most a width: words wrap at spaces, a word wider than a
// line is cut, and pictures take their shown size, scaled to fit.
class Flow {
public:
    Flow(double maxWidth, double size) : m_max(maxWidth), m_size(size) { m_lines.emplace_back(); }
    // Line breaks ("\r", "\n") start a new line.
    void AddText(std::u16string_view text);
    void AddPicture(const COleImageObj* picture);
    void Break() { m_lines.emplace_back(); }
    std::vector<FlowLine> Finish();

private:
    void AddChar(char32_t c, std::u16string_view units);
    void Wrap();

    double m_max;
    double m_size;
    std::vector<FlowLine> m_lines;
};

// Lays out [start, end) of an edit; controls embedded in the text are left
// to their own drawing.
std::vector<FlowLine> FlowEdit(const CRichEditUI* edit, long start, long end, double maxWidth, double size);

double LinesHeight(const std::vector<FlowLine>& lines);
double LinesWidth(const std::vector<FlowLine>& lines);

}  // namespace host
