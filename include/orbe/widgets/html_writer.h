// Builds HTML text: GBK texts are escaped and converted to UTF-8 here, once.
#ifndef ORBE_WIDGETS_HTML_WRITER_H_
#define ORBE_WIDGETS_HTML_WRITER_H_

#include <string>
#include <string_view>

#include "orbe/platform/types.h"

namespace orbe {

struct FontSpec;

// "#rrggbb" of a COLORREF (red in the low byte).
std::string CssColor(COLORREF color);
// "font-family:...;font-size:...pt;font-weight:...;" or "" for a default font.
std::string CssFont(const FontSpec& font);

class HtmlWriter {
 public:
  HtmlWriter() = default;
  // A live page also carries what a front end needs to address a user's
  // action back to the widget: window handles, cell rows and columns, tree
  // items, entry indices (data-h, data-r, data-c, data-item, data-i).
  explicit HtmlWriter(bool live) : live_(live) {}
  bool Live() const { return live_; }

  // Markup written as given (ASCII or UTF-8).
  HtmlWriter& Raw(std::string_view markup);
  // A GBK text: converted to UTF-8 and escaped for element content and
  // attribute values alike.
  HtmlWriter& Text(std::string_view gbk);
  // A number printed for SVG coordinates (no locale, short).
  HtmlWriter& Number(double value);

  const std::string& str() const { return html_; }
  std::string Take() { return std::move(html_); }

 private:
  std::string html_;
  bool live_ = false;
};

}  // namespace orbe

#endif  // ORBE_WIDGETS_HTML_WRITER_H_
