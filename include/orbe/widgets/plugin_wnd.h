// A window that hosts a plug-in panel, named by its plug-in id (the panel
// plug-in library itself is loaded by LoadPluginDll). The window keeps the
// id, the option and every attribute a script sets; what the plug-in says
// goes to the container's PluginMessage.
#ifndef ORBE_WIDGETS_PLUGIN_WND_H_
#define ORBE_WIDGETS_PLUGIN_WND_H_

#include <map>
#include <string>

#include "orbe/widgets/widget_event.h"

// What a plug-in sees of its host window, and the container of the plug-in.
class IPluginWnd {
 public:
  virtual ~IPluginWnd() = default;
  virtual int GetPluginID() const = 0;
  virtual int GetPluginOption() const = 0;
  virtual bool SetAttribute(const std::string& name, const std::string& value) = 0;
  virtual std::string GetAttribute(const std::string& name) const = 0;
  // The plug-in talks to its container: "OnPluginMessage"(id, name, value).
  virtual void SendToHost(const std::string& name, const std::string& value) = 0;
};

class CKvxPluginWnd : public orbe::EventWidget, public IPluginWnd {
 public:
  CKvxPluginWnd() : EventWidget(orbe::WidgetKind::kPlugin) {}

  void SetPlugin(int plugin_id, int option) { plugin_id_ = plugin_id, option_ = option; }
  int GetPluginID() const override { return plugin_id_; }
  int GetPluginOption() const override { return option_; }
  // Attribute names are case-sensitive, empty names refused; a later value
  // replaces an earlier one. An unknown name reads as "".
  bool SetAttribute(const std::string& name, const std::string& value) override;
  std::string GetAttribute(const std::string& name) const override;
  const std::map<std::string, std::string>& GetAttributes() const { return attributes_; }
  void SendToHost(const std::string& name, const std::string& value) override;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  int plugin_id_ = 0;
  int option_ = 0;
  std::map<std::string, std::string> attributes_;
};

#endif  // ORBE_WIDGETS_PLUGIN_WND_H_
