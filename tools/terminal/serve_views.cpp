#include "serve_views.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host/report_driver.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/text.h"
#include "orbe/reports/ini_report_wnd.h"
#include "orbe/script/f10_fun.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/kvx_container.h"
#include "orbe/widgets/switch_ex.h"
#include "report_window.h"
#include "screen_window.h"
#include "topic_kinds.h"

namespace orbe::terminal {
namespace {

namespace fs = std::filesystem;

constexpr int kScriptWidth = 1000;
constexpr int kScriptHeight = 720;
constexpr DWORD kScreenTimeoutMs = 600000;

// "xlsx,csv" exports go through the window's own button: its save dialog is
// answered with the path.
template <typename Press>
std::string ExportThroughDialog(const std::string& path, Press press) {
  std::error_code ignored;
  fs::remove(path, ignored);
  const FileDialogHandler previous = SetFileDialogHandler([&path](const FileDialogRequest&) { return path; });
  std::string error = press();
  SetFileDialogHandler(previous);
  if (error.empty() && !fs::exists(path, ignored)) error = "the window wrote no file";
  return error;
}

class ScreenView : public WebView {
 public:
  // The terminal's helper keeps the boxes it sees for its own output and
  // installs a handler for them; here the server's handler, which shows
  // them on the page, is put back at once.
  explicit ScreenView(const ServeContext& context) : boxes_(SetMessageBoxHandler(nullptr)) {
    window_ = std::make_unique<ScreenWindow>(context.catalogue, context.screen.schemes, context.screen.user_schemes,
                                             kScreenTimeoutMs);
    SetMessageBoxHandler(boxes_);
  }
  ~ScreenView() override {
    window_.reset();
    SetMessageBoxHandler(boxes_);
  }
  bool ok() const { return window_->ok(); }
  const std::string& Error() const { return window_->Error(); }

  CWnd* Root() override { return &window_->Window(); }
  std::string Title() const override { return GbkToUtf8("条件选股"); }
  std::string Status() override { return GbkToUtf8(window_->Summary()); }
  std::string Formats() const override { return "xlsx,csv"; }
  std::string Export(const std::string& path) override { return window_->Export(path) ? "" : window_->Error(); }

 private:
  const MessageBoxHandler boxes_;
  std::unique_ptr<ScreenWindow> window_;
};

class ReportView : public WebView {
 public:
  ReportView(std::string title) : frame_(nullptr), title_(std::move(title)) {}
  std::string Open(const ServeContext& context, const std::string& ini, const std::string& code) {
    return frame_.Open(context.host->session->Session(), Utf8ToGbk(ini), code);
  }
  CWnd* Root() override { return frame_.Report(); }
  std::string Title() const override { return title_; }
  std::string Status() override {
    if (frame_.Report() == nullptr) return "";
    return ReportDriver(*frame_.Report()).PageComplete() ? GbkToUtf8("就绪") : GbkToUtf8("正在读取数据...");
  }
  std::string Formats() const override { return "xlsx"; }
  std::string Export(const std::string& path) override {
    if (frame_.Report() == nullptr) return "the report is gone";
    ReportDriver driver(*frame_.Report());
    return ExportThroughDialog(path, [&] { return driver.ClickButton(report_wnd::kExportButton); });
  }

 private:
  ReportHost frame_;
  const std::string title_;
};

class TopicView : public WebView {
 public:
  explicit TopicView(const TopicKind& kind) : kind_(kind) {}
  ~TopicView() override {
    if (window_ != nullptr) kind_.destroy(window_);
  }
  std::string Open() {
    if (!host_.Create(nullptr, RECT{0, 0, kTreeRect.right, kTreeRect.bottom}, 1, WS_VISIBLE)) {
      return "cannot make a window";
    }
    if (!kind_.init(&host_)) return "the topic table did not load from the data service";
    window_ = kind_.create(&host_, DefaultTopicCategories(kind_));
    if (window_ == nullptr) return "cannot create the topic window";
    window_->ShowHead(window_->TopicTitle(), true);
    host_.Listen(*window_);
    return "";
  }
  CWnd* Root() override { return window_; }
  std::string Title() const override { return GbkToUtf8(kind_.label); }
  std::string Status() override {
    if (window_ == nullptr) return "";
    Pairs pairs;
    kind_.pairs(*window_, pairs);
    std::string shown;
    for (std::size_t i = 0; i < pairs.size() && i < 8; ++i) shown += (i == 0 ? "" : " ") + pairs[i].first;
    if (pairs.size() > 8) shown += " ...";
    return GbkToUtf8("已选 ") + std::to_string(pairs.size()) + (pairs.empty() ? "" : ": " + GbkToUtf8(shown));
  }

 private:
  const TopicKind& kind_;
  TopicHostWindow host_;
  TopicTreeWnd* window_ = nullptr;
};

class ScriptView : public WebView, public IF10MessageNotify {
 public:
  explicit ScriptView(std::string title) : title_(std::move(title)) {}
  ~ScriptView() override {
    if (window_ != nullptr) DestroyF10Wnd(window_);
  }
  std::string Open(const std::string& file, const std::string& argument) {
    if (!host_.Create(nullptr, RECT{0, 0, kScriptWidth, kScriptHeight}, 1, WS_VISIBLE)) return "cannot make a window";
    window_ = CreateF10Wnd(&host_, 0, 100, 0);
    if (window_ == nullptr) return "cannot create the script container";
    window_->SetMessageNotify(this);
    window_->SetOption(kF10OptionDebug, 1);
    window_->SetOption(kF10OptionQuietEvents, 1);
    window_->MoveF10Wnd(0, 0, kScriptWidth, kScriptHeight, 0);
    if (!window_->LoadScript(file, Utf8ToGbk(argument), "InitContainer")) return "the script did not load";
    return "";
  }
  CWnd* Root() override { return window_ != nullptr ? window_->GetF10Wnd() : nullptr; }
  std::string Title() const override { return title_; }
  std::string Status() override { return GbkToUtf8(last_message_); }
  void OnContainerMessage(const std::string&, const std::string&, const std::string& name,
                          const std::string& value) override {
    last_message_ = name + ": " + value;
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
    return std::string();
  }

 private:
  const std::string title_;
  CWnd host_;
  IF10Fun* window_ = nullptr;
  std::string last_message_;  // GBK
};

class ModalView : public WebView {
 public:
  explicit ModalView(CDialog& dialog) : handle_(dialog.GetSafeHwnd()) {
    CString caption;
    dialog.GetWindowText(caption);
    title_ = GbkToUtf8(caption);
  }
  CWnd* Root() override { return CWnd::FromHandle(handle_); }
  std::string Title() const override { return title_; }
  bool IsDialog() const override { return true; }
  bool CloseDialog() override {
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(handle_));
    if (dialog == nullptr) return false;
    dialog->EndDialog(IDCANCEL);
    return true;
  }

 private:
  const HWND handle_;
  std::string title_;
};

std::optional<int> IntParam(const WebParams& params, const std::string& name) {
  const std::string text = Param(params, name);
  if (text.empty() || text.size() > 10) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return static_cast<int>(value);
}

// A file name of the folder: no path, one of those offered.
std::string SampleFile(const std::string& folder, const std::string& name, const std::string& extension) {
  const std::vector<std::string> offered = SampleFiles(folder, extension);
  return std::find(offered.begin(), offered.end(), name) == offered.end() ? "" : folder + "/" + name;
}

std::string GridAction(CGridCtrl& grid, const std::string& action, const WebParams& params) {
  if (action == "scroll") {
    const std::optional<int> rows = IntParam(params, "rows");
    if (!rows) return "scroll needs rows";
    return grid.Scroll(*rows) ? "" : "the grid does not scroll";
  }
  const std::optional<int> row = IntParam(params, "r");
  const std::optional<int> col = IntParam(params, "c");
  if (!row || !col || grid.GetCell(*row, *col) == nullptr) return "no such cell";
  bool done = false;
  if (action == "click") {
    done = grid.ClickCell(*row, *col);
  } else if (action == "dblclick") {
    done = grid.DoubleClickCell(*row, *col);
  } else if (action == "edit") {
    done = grid.EditCell(*row, *col, Utf8ToGbk(Param(params, "text")));
  } else if (action == "pick") {
    const std::optional<int> index = IntParam(params, "i");
    done = index && grid.PickComboEntry(*row, *col, *index);
  } else {
    return "a grid takes click, dblclick, edit, pick or scroll";
  }
  return done ? "" : "the grid refused " + action;
}

std::string TreeAction(CXHtmlTree& tree, const std::string& action, const WebParams& params) {
  const std::optional<int> item = IntParam(params, "item");
  if (!item || !tree.IsItem(*item)) return "no such item";
  bool done = false;
  if (action == "check") {
    done = tree.ClickCheckBox(*item);
  } else if (action == "click") {
    done = tree.ClickItem(*item);
  } else if (action == "dblclick") {
    done = tree.DoubleClickItem(*item);
  } else if (action == "rclick") {
    done = tree.RightClickItem(*item);
  } else if (action == "toggle") {
    done = tree.Expand(*item, TVE_TOGGLE);
  } else {
    return "a tree takes check, click, dblclick, rclick or toggle";
  }
  return done ? "" : "the tree refused " + action;
}

std::string TypeInto(CColorEdit& edit, const std::string& gbk) {
  // The page sends the whole text the user left in the box: what was typed
  // after the text it had is typed, anything else replaces it.
  const std::string before = edit.GetText();
  if (gbk.compare(0, before.size(), before) != 0) edit.ClearText();
  const std::string typed = gbk.substr(gbk.compare(0, before.size(), before) == 0 ? before.size() : 0);
  if (typed.empty()) return "";
  return edit.TypeText(typed) ? "" : "the box takes no such text";
}

}  // namespace

std::string WebView::Export(const std::string&) { return "this window exports nothing"; }

std::string Param(const WebParams& params, const std::string& name) {
  const auto found = params.find(name);
  return found == params.end() ? std::string() : found->second;
}

const std::vector<WebFeature>& WebFeatures() {
  static const std::vector<WebFeature> features = {
      {"screen", "条件选股", ""},          {"report", "公司报表", "report"},
      {"script", "脚本页面", "script"},    {"topics", "专题选择", "kind"},
  };
  return features;
}

std::vector<std::string> SampleFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  std::error_code failed;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, failed)) {
    if (entry.path().extension() == extension) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::unique_ptr<WebView> OpenView(const ServeContext& context, const WebParams& params, std::string* error) {
  const std::string feature = Param(params, "feature");
  if (feature == "screen") {
    auto view = std::make_unique<ScreenView>(context);
    if (!view->ok()) {
      *error = view->Error();
      return nullptr;
    }
    return view;
  }
  if (feature == "report") {
    const std::string name = Param(params, "report");
    const std::string ini = SampleFile(context.reports, name, ".ini");
    const std::string code = Param(params, "code");
    if (ini.empty()) {
      *error = "no sample report " + name;
      return nullptr;
    }
    if (code.empty() || code.size() > 16 || code.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.") != std::string::npos) {
      *error = "a security code is digits and capitals";
      return nullptr;
    }
    auto view = std::make_unique<ReportView>(code + " " + fs::path(name).stem().string());
    *error = view->Open(context, ini, code);
    return error->empty() ? std::move(view) : nullptr;
  }
  if (feature == "topics") {
    const TopicKind* kind = FindTopicKind(Param(params, "kind"));
    if (kind == nullptr) {
      *error = "unknown topic kind (gg, jj, qh or zq)";
      return nullptr;
    }
    auto view = std::make_unique<TopicView>(*kind);
    *error = view->Open();
    return error->empty() ? std::move(view) : nullptr;
  }
  if (feature == "script") {
    const std::string name = Param(params, "script");
    const std::string file = SampleFile(context.scripts, name, ".py");
    if (file.empty()) {
      *error = "no sample script page " + name;
      return nullptr;
    }
    auto view = std::make_unique<ScriptView>(name);
    *error = view->Open(file, Param(params, "arg"));
    return error->empty() ? std::move(view) : nullptr;
  }
  *error = "unknown feature " + feature;
  return nullptr;
}

std::unique_ptr<WebView> DialogView(CDialog& dialog) { return std::make_unique<ModalView>(dialog); }

std::string InjectAction(CWnd& target, const WebParams& params) {
  const std::string action = Param(params, "action");
  if (action == "key") {
    const std::optional<int> key = IntParam(params, "key");
    if (!key || *key <= 0 || *key > 0xFE) return "key needs a virtual key code";
    return PressKey(target.GetSafeHwnd(), static_cast<UINT>(*key)) ? "" : "the key was not delivered";
  }
  if (action == "rbutton") {
    const int x = IntParam(params, "x").value_or(0);
    const int y = IntParam(params, "y").value_or(0);
    return ClickMouse(target.GetSafeHwnd(), x, y, MouseButton::kRight) ? "" : "the click was not delivered";
  }
  // A script container's own menu stays open on its page until a pick.
  if (auto* container = dynamic_cast<CKVXContainer*>(&target); container != nullptr && action == "menu") {
    const std::optional<int> id = IntParam(params, "item");
    if (!container->GetMenu().IsOpen()) return "no menu is open";
    return id && container->GetMenu().Pick(*id) ? "" : "that entry cannot be picked";
  }
  if (auto* grid = dynamic_cast<CGridCtrl*>(&target)) return GridAction(*grid, action, params);
  if (auto* tree = dynamic_cast<CXHtmlTree*>(&target)) return TreeAction(*tree, action, params);
  const std::optional<int> index = IntParam(params, "i");
  if (auto* combo = dynamic_cast<CKvxComboBox*>(&target); combo != nullptr && action == "pick") {
    return index && combo->PickItem(*index) ? "" : "no such entry";
  }
  if (auto* combo = dynamic_cast<CKvxCheckCombo*>(&target); combo != nullptr && action == "check") {
    return index && combo->ClickItemCheck(*index) ? "" : "no such entry";
  }
  if (auto* tabs = dynamic_cast<CSwitchEx*>(&target); tabs != nullptr && action == "pick") {
    return index && tabs->ClickLabel(*index) ? "" : "no such tab";
  }
  if (auto* edit = dynamic_cast<CColorEdit*>(&target)) {
    if (action == "type") return TypeInto(*edit, Utf8ToGbk(Param(params, "text")));
    if (action == "enter") return edit->PressEnter() ? "" : "the box takes no Enter";
  }
  if (action == "click") {
    if (auto* button = dynamic_cast<CKvxButton*>(&target)) return button->Click() ? "" : "the button is disabled";
    if (auto* check = dynamic_cast<CKvxCheckBox*>(&target)) return check->Click() ? "" : "the box is disabled";
    if (auto* radio = dynamic_cast<CKvxRadio*>(&target)) return radio->Click() ? "" : "the radio is disabled";
    if (auto* picture = dynamic_cast<CKvxPictureButton*>(&target)) return picture->Click() ? "" : "the button is disabled";
    return "this window takes no click";
  }
  return "this window takes no " + (action.empty() ? std::string("action") : action);
}

}  // namespace orbe::terminal
