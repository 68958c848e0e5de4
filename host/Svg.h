// A small writer of SVG documents: the host draws pictures with it. Every
// text that comes from the world goes through Text or Title, which escape
// it and keep the document valid UTF-8 and valid XML whatever it holds;
// attributes are written by our own code (numbers, colours, names).
#pragma once

#include <string>
#include <string_view>

namespace host {

// Calls visit(code point, its UTF-16 units) for every character; a lone
// surrogate comes as itself.
template <typename Visit>
void ForEachChar(std::u16string_view text, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        }
        visit(c, text.substr(i, units));
        i += units - 1;
    }
}

// A text of the window as XML character data: markup characters escaped,
// characters XML cannot carry and broken UTF-16 as U+FFFD.
std::string XmlText(std::u16string_view text);

class Svg {
public:
    Svg(int width, int height);

    // A rectangle with its presentation attributes ("fill=\"#fff\"").
    void Rect(double x, double y, double width, double height, const std::string& attributes, double radius = 0);
    void Circle(double cx, double cy, double r, const std::string& attributes);
    void Line(double x1, double y1, double x2, double y2, const std::string& attributes);
    // A path of drawing commands ("M0 0 L10 10").
    void Path(const std::string& commands, const std::string& attributes);
    // One line of text with its baseline at y.
    void Text(double x, double y, std::u16string_view text, const std::string& attributes);
    // What a browser shows when the pointer rests on the enclosing group.
    void Title(std::u16string_view text);

    // Groups nest: every Open has its Close.
    void Open(const std::string& tag, const std::string& attributes = "");
    void Close(const std::string& tag);
    // Definitions: a clip rectangle that later groups use by id.
    void ClipRect(const std::string& id, double x, double y, double width, double height);

    std::string Finish();

private:
    std::string m_out;
};

// A number as SVG writes it: at most one decimal, no trailing zeros.
std::string Num(double value);

}  // namespace host
