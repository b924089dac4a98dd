// Renders a window and its children to one self-contained HTML page: every
// window a box at its rectangle, inline CSS, charts as inline SVG, UTF-8.
#ifndef ORBE_WIDGETS_HTML_RENDER_H_
#define ORBE_WIDGETS_HTML_RENDER_H_

#include <string>

class CWnd;

namespace orbe {

// The page for root (placed at 0,0) and its visible descendants.
std::string RenderWindowHtml(const CWnd& root);
// The live form for a front end that sends a user's actions back: the root's
// box and its visible descendants without the page around them, with the
// addresses of HtmlWriter's live mode. Its look is WindowPageStyle().
std::string RenderWindowLive(const CWnd& root);
// The CSS both forms share.
const char* WindowPageStyle();
// Writes the page atomically; false when the file cannot be written.
bool SaveWindowHtml(const CWnd& root, const std::string& path);

}  // namespace orbe

#endif  // ORBE_WIDGETS_HTML_RENDER_H_
