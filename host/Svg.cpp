#include "Svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/core/Text.h"

namespace host {

namespace {

// XML 1.0 carries tab, line feed and carriage return of the C0 controls,
// and nothing of the surrogates or U+FFFE and U+FFFF.
bool XmlCarries(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    return c < 0xD800 || (c > 0xDFFF && c != 0xFFFE && c != 0xFFFF);
}

}  // namespace

std::string XmlText(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachChar(text, [&out](char32_t c, std::u16string_view units) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += XmlCarries(c) ? sim::ToUtf8(units) : "\xEF\xBF\xBD";
        }
    });
    return out;
}

std::string Num(double value) {
    const double rounded = std::round(value * 10) / 10;
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.1f", rounded == 0 ? 0.0 : rounded);
    std::string out = buffer;
    if (out.size() > 2 && out.compare(out.size() - 2, 2, ".0") == 0) out.resize(out.size() - 2);
    return out;
}

Svg::Svg(int width, int height) {
    m_out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
            std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) +
            "\" font-family=\"Segoe UI, Noto Sans, DejaVu Sans, Arial, sans-serif\">\n";
}

void Svg::Rect(double x, double y, double width, double height, const std::string& attributes, double radius) {
    m_out += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(std::max(width, 0.0)) + "\" height=\"" +
             Num(std::max(height, 0.0)) + "\"";
    if (radius > 0) m_out += " rx=\"" + Num(radius) + "\"";
    m_out += " " + attributes + "/>\n";
}

void Svg::Circle(double cx, double cy, double r, const std::string& attributes) {
    m_out += "<circle cx=\"" + Num(cx) + "\" cy=\"" + Num(cy) + "\" r=\"" + Num(r) + "\" " + attributes + "/>\n";
}

void Svg::Line(double x1, double y1, double x2, double y2, const std::string& attributes) {
    m_out += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" + Num(y2) + "\" " +
             attributes + "/>\n";
}

void Svg::Path(const std::string& commands, const std::string& attributes) {
    m_out += "<path d=\"" + commands + "\" " + attributes + "/>\n";
}

void Svg::Text(double x, double y, std::u16string_view text, const std::string& attributes) {
    // Spaces are kept as typed: a person's double space is part of the text.
    m_out += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" xml:space=\"preserve\" " + attributes + ">" +
             XmlText(text) + "</text>\n";
}

void Svg::Title(std::u16string_view text) { m_out += "<title>" + XmlText(text) + "</title>\n"; }

void Svg::Open(const std::string& tag, const std::string& attributes) {
    m_out += "<" + tag + (attributes.empty() ? "" : " " + attributes) + ">\n";
}

void Svg::Close(const std::string& tag) { m_out += "</" + tag + ">\n"; }

void Svg::ClipRect(const std::string& id, double x, double y, double width, double height) {
    Open("clipPath", "id=\"" + id + "\"");
    Rect(x, y, width, height, "");
    Close("clipPath");
}

std::string Svg::Finish() { return m_out + "</svg>\n"; }

}  // namespace host
