#include "orbe/widgets/up_down_stream.h"

#include <algorithm>

#include "orbe/widgets/html_writer.h"

namespace {
constexpr int kRowHeight = 20;
constexpr int kCharWidth = 7;  // per GBK byte
constexpr int kPadding = 16;
}  // namespace

bool CKvxUpDownStream::SetStreamItemNum(int up, int down) {
  if (up < 0 || down < 0) return false;
  up_num_ = up;
  down_num_ = down;
  return true;
}

void CKvxUpDownStream::RemoveAllItemInfo() {
  up_.clear();
  down_.clear();
  current_.clear();
}

std::vector<StreamItem> CKvxUpDownStream::Shown(const std::vector<StreamItem>& items, int num) {
  const std::size_t count = std::min(items.size(), static_cast<std::size_t>(num));
  return std::vector<StreamItem>(items.end() - static_cast<std::ptrdiff_t>(count), items.end());
}

SIZE CKvxUpDownStream::GetReqSize() const {
  const std::vector<StreamItem> up = GetShownUp(), down = GetShownDown();
  std::size_t widest = current_.size();
  for (const auto* side : {&up, &down}) {
    for (const StreamItem& item : *side) widest = std::max(widest, item.text.size());
  }
  const auto rows = static_cast<LONG>(up.size() + down.size() + 1);
  return SIZE{static_cast<LONG>(widest) * kCharWidth + kPadding, rows * kRowHeight};
}

bool CKvxUpDownStream::ClickItem(bool up, int index) {
  const std::vector<StreamItem> shown = up ? GetShownUp() : GetShownDown();
  if (!IsWindowEnabled() || index < 0 || index >= static_cast<int>(shown.size())) return false;
  current_ = shown[index].text;
  Raise("OnUpDownStreamSelChanged", {current_});
  return true;
}

void CKvxUpDownStream::RenderHtml(orbe::HtmlWriter& out) const {
  const auto write = [&out](const StreamItem& item, const char* cls) {
    out.Raw("<div class=\"").Raw(cls).Raw("\"");
    if (item.color != CLR_DEFAULT) out.Raw(" style=\"color:").Raw(orbe::CssColor(item.color)).Raw("\"");
    out.Raw(">").Text(item.text).Raw("</div>");
  };
  out.Raw("<div class=\"stream\">");
  for (const StreamItem& item : GetShownUp()) write(item, "up");
  write(StreamItem{current_}, "cur");
  for (const StreamItem& item : GetShownDown()) write(item, "down");
  out.Raw("</div>");
}
