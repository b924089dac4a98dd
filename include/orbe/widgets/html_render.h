// Renders a window and its children to one self-contained HTML page: every
// window a box at its rectangle, inline CSS, charts as inline SVG, UTF-8.
#ifndef ORBE_WIDGETS_HTML_RENDER_H_
#define ORBE_WIDGETS_HTML_RENDER_H_

#include <string>

class CWnd;

namespace orbe {

// The page for root (placed at 0,0) and its visible descendants.
std::string RenderWindowHtml(const CWnd& root);
// Writes the page atomically; false when the file cannot be written.
bool SaveWindowHtml(const CWnd& root, const std::string& path);

}  // namespace orbe

#endif  // ORBE_WIDGETS_HTML_RENDER_H_
