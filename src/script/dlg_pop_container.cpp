#include "script/dlg_pop_container.h"

#include <cstdlib>

#include "orbe/env.h"
#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "script/py_container_wnd.h"

namespace orbe {
namespace {

constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 400;
constexpr char kEntry[] = "InitContainer";
constexpr char kWaitText[] = "\xd5\xfd\xd4\xda\xb4\xa6\xc0\xed\xa3\xac\xc7\xeb\xc9\xd4\xba\xf2\xa1\xad";  // "正在处理，请稍候…"

// "width,height" in decimal: both parts present and positive.
bool ParseSize(const std::string& value, int& width, int& height) {
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos) return false;
  const std::string first = value.substr(0, comma);
  const std::string second = value.substr(comma + 1);
  char* end = nullptr;
  const long w = std::strtol(first.c_str(), &end, 10);
  if (first.empty() || end == first.c_str()) return false;
  const long h = std::strtol(second.c_str(), &end, 10);
  if (second.empty() || end == second.c_str()) return false;
  if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

// The dialog's icon: "DllRes/logo.ico" in the configuration folder, unless
// the user's settings say "None" for it (usercomm.ini, [KVXCONTAINER] DlgIcon).
std::string DialogIcon() {
  const std::string folder = GetCommConfigPath();
  if (folder.empty()) return std::string();
  const std::string setting = ProfileString(GetPrivPath() + "usercomm.ini", "KVXCONTAINER", "DlgIcon", "");
  if (AsciiLower(setting) == "none") return std::string();
  const std::string path = folder + "/DllRes/logo.ico";
  return FileExists(path) ? path : std::string();
}

}  // namespace

CDlgPopContainer::CDlgPopContainer(CWnd* owner, int width, int height)
    : CDialog(kPopContainerDialogId, owner),
      width_(width > 0 ? width : kDefaultWidth),
      height_(height > 0 ? height : kDefaultHeight) {}

CDlgPopContainer::~CDlgPopContainer() {
  // The container goes with the dialog's window, before the dialog's members.
  DestroyWindow();
  container_.reset();
}

void CDlgPopContainer::SetScript(const std::string& title, const std::string& script, const std::string& argument) {
  title_ = title;
  script_ = script;
  argument_ = argument;
}

bool CDlgPopContainer::MakeContainer() {
  if (container_ && container_->GetSafeHwnd() != nullptr) return true;
  container_ = std::make_unique<CPyContainerWnd>(0);
  RECT client;
  GetClientRect(&client);
  if (!container_->Create(this, client, WS_CHILD | WS_VISIBLE, 1)) {
    container_.reset();
    return false;
  }
  container_->SetMessageNotify(this);
  return true;
}

BOOL CDlgPopContainer::OnInitDialog() {
  icon_path_ = DialogIcon();
  if (!title_.empty()) SetWindowText(title_);
  if (!MakeContainer()) return TRUE;
  if (IsModal() && !script_.empty()) container_->LoadScript(script_, argument_, kEntry);
  return TRUE;
}

void CDlgPopContainer::RunScript(const std::string& title, const std::string& script, const std::string& argument) {
  if (!title.empty()) SetWindowText(title);
  title_ = title;
  script_ = script;
  argument_ = argument;
  if (script.empty() || !MakeContainer()) return;
  container_->LoadScript(script, argument, kEntry);
}

void CDlgPopContainer::OnSize(UINT /*type*/, int width, int height) {
  if (container_ && container_->GetSafeHwnd() != nullptr) container_->MoveWindow(0, 0, width, height);
}

void CDlgPopContainer::Place(int x, int y, int width, int height) {
  if (GetSafeHwnd() == nullptr) return;
  if (x < 0 || y < 0) {
    RECT rect;
    GetWindowRect(&rect);
    const int new_width = width >= 0 ? width : rect.right - rect.left;
    const int new_height = height >= 0 ? height : rect.bottom - rect.top;
    MoveWindow(rect.left, rect.top, new_width, new_height);
    if (x == -1) CenterWindow();
  } else {
    MoveWindow(RECT{x, y, x + width, y + height});
  }
  ShowWindow(SW_SHOW);
}

void CDlgPopContainer::Close() { EndDialog(IsModal() ? return_value_ : IDOK); }

ScriptRef CDlgPopContainer::TakeResultObject() {
  return container_ ? container_->PickObject(kDlgResult) : ScriptRef();
}

void CDlgPopContainer::OnContainerMessage(const std::string& first, const std::string& second,
                                          const std::string& name, const std::string& value) {
  if (name == kDlgClose) {
    Close();
  } else if (name == kDlgReturnInt) {
    return_value_ = std::atoi(value.c_str());
  } else if (name == kDlgResize) {
    int width = 0;
    int height = 0;
    if (!ParseSize(value, width, height)) return;
    // The container fills the client area, which is the whole window here.
    MoveWindow(0, 0, width, height);
    CenterWindow();
    ShowWindow(SW_SHOW);
  } else if (forward_ != nullptr) {
    forward_->OnContainerMessage(first, second, name, value);
  }
}

std::string CDlgPopContainer::OnContainerQuery(const std::string& /*first*/, const std::string& /*second*/,
                                               const std::string& name, const std::string& /*value*/) {
  if (name != kDlgIsDefaultPassword || !container_) return std::string();
  const auto login = container_->GetKVXLoginInfo();
  return std::get<1>(login) == kDefaultPassword ? "YES" : "NO";
}

// --- The wait dialog ---

CScriptWaitDlg::CScriptWaitDlg(CWnd* owner) : CDialog(kScriptWaitDialogId, owner) {}

BOOL CScriptWaitDlg::OnInitDialog() {
  SetWindowText(kWaitText);
  return TRUE;
}

void CScriptWaitDlg::ShowAt(int x, int y) {
  RECT rect;
  GetWindowRect(&rect);
  MoveWindow(x, y, rect.right - rect.left, rect.bottom - rect.top);
  ShowWindow(SW_SHOW);
}

void CScriptWaitDlg::Hide() { ShowWindow(SW_HIDE); }

}  // namespace orbe
