#include "orbe/widgets/widget.h"

#include "orbe/widgets/html_writer.h"

namespace orbe {

void KvxWidget::RenderHtml(HtmlWriter& out) const {
  CString text;
  GetWindowText(text);
  if (!text.empty()) out.Raw("<span class=\"t\">").Text(text).Raw("</span>");
}

}  // namespace orbe
