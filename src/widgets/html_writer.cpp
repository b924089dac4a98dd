#include "orbe/widgets/html_writer.h"

#include <cmath>
#include <cstdio>

#include "orbe/platform/text.h"
#include "orbe/widgets/widget.h"

namespace orbe {

std::string CssColor(COLORREF color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
  return buffer;
}

std::string CssFont(const FontSpec& font) {
  std::string css;
  if (!font.face.empty()) {
    HtmlWriter face;
    face.Text(font.face);
    // Browsers fall back along the list when the named face is missing.
    css += "font-family:'" + face.str() + "',sans-serif;";
  }
  if (font.size > 0) css += Format("font-size:%dpt;", font.size);
  if (font.weight != 400) css += Format("font-weight:%d;", font.weight);
  if (font.italic) css += "font-style:italic;";
  if (font.underline) css += "text-decoration:underline;";
  return css;
}

HtmlWriter& HtmlWriter::Raw(std::string_view markup) {
  html_ += markup;
  return *this;
}

HtmlWriter& HtmlWriter::Text(std::string_view gbk) {
  for (const char c : GbkToUtf8(gbk)) {
    switch (c) {
      case '<':
        html_ += "&lt;";
        break;
      case '>':
        html_ += "&gt;";
        break;
      case '&':
        html_ += "&amp;";
        break;
      case '"':
        html_ += "&quot;";
        break;
      case '\'':
        html_ += "&#39;";
        break;
      case '\n':
        html_ += "<br>";
        break;
      case '\r':  // the CR of a CRLF line end: the LF makes the break
        break;
      default:
        html_ += c;
    }
  }
  return *this;
}

HtmlWriter& HtmlWriter::Number(double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  html_ += text;
  return *this;
}

}  // namespace orbe
