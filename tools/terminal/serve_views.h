// The windows a browser session of `orbe-terminal serve` holds: each made
// through the module's exports as the terminal's other commands make them,
// and the user's actions from the page injected into their widgets.
// Everything here runs on the window thread.
#ifndef ORBE_TOOLS_TERMINAL_SERVE_VIEWS_H_
#define ORBE_TOOLS_TERMINAL_SERVE_VIEWS_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "connection_options.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/window.h"
#include "screen_catalogue.h"
#include "screen_options.h"

namespace orbe::terminal {

// What every view is opened with.
struct ServeContext {
  TerminalHost* host = nullptr;
  IIndexMgr* catalogue = nullptr;
  ScreenOptions screen;     // the scheme stores
  std::string reports;      // the folder of the sample report INIs
  std::string scripts;      // the folder of the sample script pages
  std::string downloads;    // a private folder for exported files
};

class WebView {
 public:
  virtual ~WebView() = default;
  // The window shown; null once it is gone.
  virtual CWnd* Root() = 0;
  virtual std::string Title() const = 0;  // UTF-8
  virtual std::string Status() { return ""; }
  // The downloads offered ("xlsx,csv") and the export into path ("" when done,
  // else why not).
  virtual std::string Formats() const { return ""; }
  virtual std::string Export(const std::string& path);
  virtual bool IsDialog() const { return false; }
  // Ends a modal dialog (the user closed it); false for other views.
  virtual bool CloseDialog() { return false; }
};

// A form's fields as the page posted them.
using WebParams = std::multimap<std::string, std::string>;
std::string Param(const WebParams& params, const std::string& name);

// The features of the start page: name, GBK caption, what the page asks for.
struct WebFeature {
  const char* feature;
  const char* caption;
  const char* asks;  // "", "code", "report", "script", "kind"
};
const std::vector<WebFeature>& WebFeatures();
// The sample reports and script pages offered (file names without folder).
std::vector<std::string> SampleFiles(const std::string& folder, const std::string& extension);

// Makes the view the params ask for; null with *error (UTF-8).
std::unique_ptr<WebView> OpenView(const ServeContext& context, const WebParams& params, std::string* error);
// A modal dialog the module opened, shown until it ends.
std::unique_ptr<WebView> DialogView(CDialog& dialog);

// A user's action on the window `target` (inside the view) as the page
// posted it: "" when injected, else why not (UTF-8).
std::string InjectAction(CWnd& target, const WebParams& params);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SERVE_VIEWS_H_
