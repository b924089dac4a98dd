#include "orbe/widgets/container_menu.h"

#include <algorithm>

#include "orbe/widgets/html_writer.h"

namespace orbe {

void ContainerMenu::Init(const std::string& name, int style) {
  name_ = name;
  style_ = style;
  items_.clear();
  submenus_ = 0;
  open_ = false;
}

const MenuItem* ContainerMenu::Find(int id) const {
  if (id == 0) return nullptr;
  const auto at = std::find_if(items_.begin(), items_.end(), [id](const MenuItem& i) { return i.id == id; });
  return at != items_.end() ? &*at : nullptr;
}

MenuItem* ContainerMenu::FindMutable(int id) { return const_cast<MenuItem*>(Find(id)); }

bool ContainerMenu::Append(int menu, int id, const std::string& text, bool checked, bool disabled, bool radio,
                           int image) {
  if (id == 0 || Find(id) != nullptr || !MenuExists(menu)) return false;
  MenuItem item;
  item.id = id;
  item.menu = menu;
  item.text = text;
  item.checked = checked;
  item.disabled = disabled;
  item.radio = radio;
  item.image = image;
  items_.push_back(std::move(item));
  return true;
}

bool ContainerMenu::AppendSeparator(int menu) {
  if (!MenuExists(menu)) return false;
  MenuItem item;
  item.menu = menu;
  item.separator = true;
  items_.push_back(std::move(item));
  return true;
}

int ContainerMenu::AppendChild(int menu, const std::string& text) {
  if (!MenuExists(menu)) return 0;
  MenuItem item;
  item.menu = menu;
  item.submenu = ++submenus_;
  item.text = text;
  items_.push_back(std::move(item));
  return submenus_;
}

std::vector<const MenuItem*> ContainerMenu::ItemsOf(int menu) const {
  std::vector<const MenuItem*> items;
  for (const MenuItem& item : items_) {
    if (item.menu == menu) items.push_back(&item);
  }
  return items;
}

bool ContainerMenu::CheckItem(int id, bool checked) {
  MenuItem* item = FindMutable(id);
  if (item == nullptr) return false;
  item->checked = checked;
  return true;
}

bool ContainerMenu::CheckRadioItem(int first, int last, int id) {
  if (first > id || id > last || Find(id) == nullptr) return false;
  for (MenuItem& item : items_) {
    if (item.id == 0 || item.id < first || item.id > last) continue;
    item.checked = item.id == id;
    item.radio = true;
  }
  return true;
}

bool ContainerMenu::SetRadioItem(int id, bool radio) {
  MenuItem* item = FindMutable(id);
  if (item == nullptr) return false;
  item->radio = radio;
  return true;
}

bool ContainerMenu::EnableItem(int id, bool enable) {
  MenuItem* item = FindMutable(id);
  if (item == nullptr) return false;
  item->disabled = !enable;
  return true;
}

bool ContainerMenu::SetItemText(int id, const std::string& text) {
  MenuItem* item = FindMutable(id);
  if (item == nullptr) return false;
  item->text = text;
  return true;
}

bool ContainerMenu::SetItemImage(int id, int image) {
  MenuItem* item = FindMutable(id);
  if (item == nullptr) return false;
  item->image = image;
  return true;
}

bool ContainerMenu::RemoveTitle() {
  const bool had = !title_.empty();
  title_.clear();
  title_height_ = 0;
  return had;
}

bool ContainerMenu::SetAlpha(int alpha) {
  if (alpha < 0 || alpha > 255) return false;
  alpha_ = alpha;
  return true;
}

bool ContainerMenu::Track(int x, int y, int flags) {
  if (items_.empty()) return false;
  open_ = true;
  track_point_ = POINT{x, y};
  track_flags_ = flags;
  return true;
}

bool ContainerMenu::Pick(int id) {
  const MenuItem* item = Find(id);
  if (!open_ || item == nullptr || (item->disabled && select_disabled_ != 1)) return false;
  open_ = false;
  if (sink_ != nullptr) sink_->DeliverEvent(WidgetEvent{"OnMenuItemClicked", id, {}});
  return true;
}

void ContainerMenu::RenderHtml(HtmlWriter& out) const {
  if (!open_) return;
  out.Raw("<div class=\"menu\" style=\"position:absolute;z-index:10;left:")
      .Number(track_point_.x)
      .Raw("px;top:");
  out.Number(track_point_.y).Raw("px;opacity:").Number(alpha_ / 255.0).Raw("\">");
  if (!title_.empty()) out.Raw("<div class=\"menu-title\">").Text(title_).Raw("</div>");
  const auto walk = [this, &out](const auto& self, int menu) -> void {
    out.Raw("<ul class=\"menu\">");
    for (const MenuItem* item : ItemsOf(menu)) {
      if (item->separator) {
        out.Raw("<li class=\"sep\"><hr></li>");
        continue;
      }
      out.Raw("<li data-item=\"").Raw(std::to_string(item->id)).Raw("\"");
      if (item->disabled) out.Raw(" class=\"off\" style=\"color:#a0a0a0\"");
      out.Raw(">");
      if (item->checked) out.Raw(item->radio ? "&#9679; " : "&#10003; ");
      out.Text(item->text);
      if (item->submenu != 0) self(self, item->submenu);
      out.Raw("</li>");
    }
    out.Raw("</ul>");
  };
  walk(walk, 0);
  out.Raw("</div>");
}

}  // namespace orbe
