// What the script container draws under its widgets: lines, background
// regions and texts, each addressed by an id (from 1 per kind, never reused).
// Rectangles are x, y, width, height in container client pixels, as for the
// widgets.
#ifndef ORBE_WIDGETS_CONTAINER_DRAWING_H_
#define ORBE_WIDGETS_CONTAINER_DRAWING_H_

#include <map>
#include <string>

#include "orbe/widgets/widget.h"

namespace orbe {

class HtmlWriter;

struct DrawnLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  COLORREF color = 0;
  int width = 1;
  int style = 0;  // 0 solid, 1 dash, 2 dot
};

struct BkRegion {
  RECT rect{};  // left, top, right, bottom
  COLORREF fill = CLR_DEFAULT;
  COLORREF border = CLR_DEFAULT;
  int border_width = 0;
};

struct BkText {
  std::string text;  // GBK
  RECT rect{};
  FontSpec font;
  COLORREF color = CLR_DEFAULT;
  COLORREF bk = CLR_DEFAULT;  // CLR_DEFAULT: transparent
  int align = 0;              // 0 left, 1 centre, 2 right
  bool single_line = true;
};

class ContainerDrawing {
 public:
  // Each gives the new id, 0 when refused (negative sizes or widths).
  int AddLine(const DrawnLine& line);
  bool DeleteLine(int id) { return lines_.erase(id) > 0; }
  void ClearAllLine() { lines_.clear(); }
  int AddBkRegion(int x, int y, int cx, int cy, COLORREF fill, COLORREF border, int border_width);
  bool ResetBkRegion(int id, int x, int y, int cx, int cy, COLORREF fill, COLORREF border, int border_width);
  bool DeleteBkRegion(int id) { return regions_.erase(id) > 0; }
  void ClearAllBkRegion() { regions_.clear(); }
  int AddBkText(const std::string& text, int x, int y, int cx, int cy, const FontSpec& font, COLORREF color,
                COLORREF bk, int align, bool single_line);
  bool DeleteBkText(int id) { return texts_.erase(id) > 0; }
  void ClearAllBkText() { texts_.clear(); }

  const std::map<int, DrawnLine>& Lines() const { return lines_; }
  const std::map<int, BkRegion>& Regions() const { return regions_; }
  const std::map<int, BkText>& Texts() const { return texts_; }

  // Regions, then lines, then texts, each in id order.
  void RenderHtml(HtmlWriter& out, int width, int height) const;

 private:
  std::map<int, DrawnLine> lines_;
  std::map<int, BkRegion> regions_;
  std::map<int, BkText> texts_;
  int next_line_ = 1;
  int next_region_ = 1;
  int next_text_ = 1;
};

}  // namespace orbe

#endif  // ORBE_WIDGETS_CONTAINER_DRAWING_H_
