#include "orbe/widgets/pager.h"

#include <algorithm>
#include <charconv>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace {

constexpr int kItemWidth = 28;   // one page number box
constexpr int kArrowWidth = 44;  // "previous" / "next"
constexpr int kInputWidth = 80;  // the extended pager's input and total text
constexpr int kBarHeight = 24;

}  // namespace

bool CKvxPager::SetTotalPageNum(int count) {
  if (count < 0) return false;
  total_ = count;
  current_ = count == 0 ? 0 : std::clamp(current_, 1, count);
  return true;
}

bool CKvxPager::SetCurPageNo(int page) {
  if (page < 1 || page > total_) return false;
  current_ = page;
  return true;
}

bool CKvxPager::SetMaxPageNumber(int count) {
  // A bar shows a handful of numbers; more would not fit and only cost memory.
  if (count < 1 || count > kMaxShownPages) return false;
  max_shown_ = count;
  return true;
}

std::vector<int> CKvxPager::GetShownPages() const {
  std::vector<int> pages;
  if (total_ == 0) return pages;
  const int shown = std::min(max_shown_, total_);
  const int first = std::clamp(current_ - shown / 2, 1, total_ - shown + 1);
  for (int i = 0; i < shown; ++i) pages.push_back(first + i);
  return pages;
}

const CKvxPager::ItemColors& CKvxPager::Colors(PageItemState state) const {
  return items_[std::clamp(static_cast<int>(state), 0, 2)];
}
CKvxPager::ItemColors& CKvxPager::Colors(PageItemState state) {
  return items_[std::clamp(static_cast<int>(state), 0, 2)];
}

void CKvxPager::SetItemColors(PageItemState state, COLORREF border, COLORREF bk, COLORREF text) {
  Colors(state) = ItemColors{border, bk, text};
}
void CKvxPager::SetItemBorderColor(PageItemState state, COLORREF color) { Colors(state).border = color; }
void CKvxPager::SetItemBkColor(PageItemState state, COLORREF color) { Colors(state).bk = color; }
void CKvxPager::SetItemTextColor(PageItemState state, COLORREF color) { Colors(state).text = color; }
COLORREF CKvxPager::GetItemBorderColor(PageItemState state) const { return Colors(state).border; }
COLORREF CKvxPager::GetItemBkColor(PageItemState state) const { return Colors(state).bk; }
COLORREF CKvxPager::GetItemTextColor(PageItemState state) const { return Colors(state).text; }

SIZE CKvxPager::GetReqSize() const {
  const int items = static_cast<int>(GetShownPages().size());
  int width = 2 * kArrowWidth + items * kItemWidth;
  if (Kind() == orbe::WidgetKind::kXPaging) width += 2 * kInputWidth;
  return SIZE{width, kBarHeight};
}

bool CKvxPager::ClickPage(int page) {
  if (!IsWindowEnabled() || page < 1 || page > total_ || page == current_) return false;
  current_ = page;
  Raise(Kind() == orbe::WidgetKind::kXPaging ? "OnXPagingIndexChanged" : "OnPagingIndexChanged", {page});
  return true;
}

bool CKvxPager::GoToTypedPage() {
  const std::string_view text = orbe::TrimBlanks(input_);
  int page = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  return ClickPage(page);
}

void CKvxPager::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"pager\">");
  out.Raw(current_ > 1 ? "<span class=\"prev\">&lt;</span>" : "<span class=\"prev off\">&lt;</span>");
  for (int page : GetShownPages()) {
    const bool current = page == current_;
    const ItemColors& colors = Colors(current ? PageItemState::kCurrent : PageItemState::kNormal);
    out.Raw(current ? "<span class=\"page cur\" style=\"" : "<span class=\"page\" style=\"");
    if (colors.border != CLR_DEFAULT)
      out.Raw("border:1px solid ").Raw(orbe::CssColor(colors.border)).Raw(";");
    if (colors.bk != CLR_DEFAULT) out.Raw("background:").Raw(orbe::CssColor(colors.bk)).Raw(";");
    if (colors.text != CLR_DEFAULT) out.Raw("color:").Raw(orbe::CssColor(colors.text)).Raw(";");
    out.Raw("\">").Raw(std::to_string(page)).Raw("</span>");
  }
  out.Raw(current_ < total_ ? "<span class=\"next\">&gt;</span>" : "<span class=\"next off\">&gt;</span>");
  if (Kind() == orbe::WidgetKind::kXPaging) {
    out.Raw("<span class=\"total\">").Raw(std::to_string(current_)).Raw("/").Raw(std::to_string(total_));
    out.Raw("</span><span class=\"input\">").Text(input_).Raw("</span>");
  }
  out.Raw("</div>");
}
