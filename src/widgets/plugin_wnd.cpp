#include "orbe/widgets/plugin_wnd.h"

#include "orbe/widgets/html_writer.h"

bool CKvxPluginWnd::SetAttribute(const std::string& name, const std::string& value) {
  if (name.empty()) return false;
  attributes_[name] = value;
  return true;
}

std::string CKvxPluginWnd::GetAttribute(const std::string& name) const {
  const auto at = attributes_.find(name);
  return at != attributes_.end() ? at->second : std::string();
}

void CKvxPluginWnd::SendToHost(const std::string& name, const std::string& value) {
  Raise("OnPluginMessage", {name, value});
}

void CKvxPluginWnd::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"plugin\" data-plugin=\"").Raw(std::to_string(plugin_id_)).Raw("\">");
  for (const auto& [name, value] : attributes_) {
    out.Raw("<div class=\"attr\">").Text(name).Raw("=").Text(value).Raw("</div>");
  }
  out.Raw("</div>");
}
