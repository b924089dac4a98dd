// The options panel of the statistics: eleven check boxes, the weight list
// and the buttons that compute, choose the checked rows and reset.
#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/combos.h"
#include "screening/column_statistics.h"
#include "screening/control_commands.h"

namespace {

struct PanelButton {
  UINT id;
  const char* text;
  UINT message;  // posted to the pane before the computation; 0 for none
};
constexpr PanelButton kPanelButtons[] = {
    {CDlgCalculate::kComputeButton, "计算", 0},
    {CDlgCalculate::kClearAboveButton, "取消以上", WM_STAT_CLEAR_ABOVE},
    {CDlgCalculate::kClearBelowButton, "取消以下", WM_STAT_CLEAR_BELOW},
    {CDlgCalculate::kCheckAllButton, "全选", WM_STAT_CHECK_ALL},
    {CDlgCalculate::kInvertButton, "反选", WM_STAT_INVERT},
    {CDlgCalculate::kResetButton, "重置", 0},
};

constexpr int kChecksPerLine = 6;
constexpr int kCheckWidth = 96;
constexpr int kLineHeight = 24;
constexpr int kButtonWidth = 72;
constexpr int kWeightWidth = 200;
constexpr int kGap = 4;

RECT Rect(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

}  // namespace

CDlgCalculate::CDlgCalculate() = default;

CDlgCalculate::~CDlgCalculate() { DestroyWindow(); }

int CDlgCalculate::OnCreate() {
  events_ = std::make_unique<orbe::CommandEvents>(*this);
  for (int i = 0; i < orbe::kStatisticCount; ++i) {
    const orbe::StatisticSpec& spec = orbe::kStatistics[i];
    const RECT place = Rect(kGap + (i % kChecksPerLine) * kCheckWidth, kGap + (i / kChecksPerLine) * kLineHeight,
                            kCheckWidth, kLineHeight);
    std::unique_ptr<CKvxCheckBox> check;
    orbe::AddControl(*this, check, *events_, spec.control, place, spec.label);
    checks_.push_back(std::move(check));
  }
  const int line = kGap + 2 * kLineHeight + kGap;
  orbe::AddControl(*this, weights_, *events_, kWeightList, Rect(kGap, line, kWeightWidth, kLineHeight));
  int x = 2 * kGap + kWeightWidth;
  for (const PanelButton& spec : kPanelButtons) {
    std::unique_ptr<CKvxButton> button;
    orbe::AddControl(*this, button, *events_, spec.id, Rect(x, line, kButtonWidth, kLineHeight), spec.text);
    buttons_.push_back(std::move(button));
    x += kButtonWidth + kGap;
  }
  return 0;
}

LRESULT CDlgCalculate::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_COMMAND || HIWORD(wparam) != orbe::kButtonClicked) {
    return CWnd::WindowProc(message, wparam, lparam);
  }
  const UINT id = LOWORD(wparam);
  for (const PanelButton& spec : kPanelButtons) {
    if (spec.id != id) continue;
    if (id == kResetButton) {
      OnReset();
    } else {
      if (spec.message != 0 && pane_ != nullptr) ::PostMessage(pane_, spec.message, 0, 0);
      OnCompute();
    }
  }
  return 0;
}

void CDlgCalculate::UpdateFieldsFromControls() {
  for (int i = 0; i < orbe::kStatisticCount; ++i)
    fields_[static_cast<std::size_t>(i)] = checks_[static_cast<std::size_t>(i)]->GetCheck() ? 1 : 0;
}

void CDlgCalculate::UpdateControlsFromFields() {
  for (int i = 0; i < orbe::kStatisticCount; ++i)
    checks_[static_cast<std::size_t>(i)]->SetCheck(fields_[static_cast<std::size_t>(i)] != 0);
}

void CDlgCalculate::OnCompute() {
  UpdateFieldsFromControls();
  const auto enabled = static_cast<WPARAM>(EnabledStatistics().size());
  if (pane_ != nullptr) ::PostMessage(pane_, WM_STAT_COMPUTE, enabled, 0);
}

void CDlgCalculate::OnReset() {
  fields_.fill(0);
  UpdateControlsFromFields();
  OnCompute();
}

std::vector<int> CDlgCalculate::EnabledStatistics() const {
  std::vector<int> enabled;
  for (int i = 0; i < orbe::kStatisticCount; ++i) {
    if (fields_[static_cast<std::size_t>(i)] != 0) enabled.push_back(i);
  }
  return enabled;
}

void CDlgCalculate::FillWeightList(const std::vector<std::string>& titles) {
  if (weights_ == nullptr) return;
  weights_->ResetContent();
  for (const std::string& title : titles) weights_->AddString(title);
  if (!titles.empty()) weights_->SetCurSel(0);
}

std::string CDlgCalculate::GetWeightTitle() const { return weights_ != nullptr ? weights_->GetSelectedText() : ""; }

CKvxCheckBox* CDlgCalculate::GetStatisticCheck(UINT control) const {
  for (const auto& check : checks_) {
    if (static_cast<UINT>(check->GetDlgCtrlID()) == control) return check.get();
  }
  return nullptr;
}

CKvxButton* CDlgCalculate::GetButton(UINT id) const {
  for (const auto& button : buttons_) {
    if (static_cast<UINT>(button->GetDlgCtrlID()) == id) return button.get();
  }
  return nullptr;
}
