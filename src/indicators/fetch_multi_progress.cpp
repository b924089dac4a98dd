// The screening's life: start, request stages, completion.
#include "orbe/indicators/fetch_multi_progress.h"

#include <algorithm>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/env.h"
#include "orbe/platform/message_box.h"

namespace {

constexpr int kFullProgress = 100;

std::string ExpressionWithParams(std::string expression) {
  for (std::size_t at = expression.find('#'); at != std::string::npos; at = expression.find('#', at)) {
    expression.replace(at, 1, "param");
  }
  return expression;
}

}  // namespace

CFetchMultiProgress::CFetchMultiProgress(IIndexMgr* mgr, HWND owner, UINT doneMsg)
    : mgr_(mgr), owner_(owner), done_msg_(doneMsg) {}

CFetchMultiProgress::~CFetchMultiProgress() { DestroyWindow(); }

int CFetchMultiProgress::OnCreate() {
  session_ = GetGlobalMainOrbeClientSession();
  if (session_ != nullptr) {
    sql_handle_ = CreateFetchDataHandle(GetSafeHwnd(), orbe::kSqlReplyMessage);
    tql_handle_ = CreateFetchDataHandle(GetSafeHwnd(), orbe::kTqlReplyMessage);
    stamp_handle_ = CreateFetchDataHandle(nullptr, 0);
  }
  if (mgr_ != nullptr) logic_ = std::make_unique<CPyLogicCalc>(mgr_->GetScriptDir());
  SetProgress(0, true);
  return 0;
}

void CFetchMultiProgress::OnDestroy() {
  // The handles wait for a request in flight; their late replies find no window.
  DeleteFetchDataHandle(sql_handle_);
  DeleteFetchDataHandle(tql_handle_);
  DeleteFetchDataHandle(stamp_handle_);
  sql_handle_ = nullptr;
  tql_handle_ = nullptr;
  stamp_handle_ = nullptr;
  if (logic_) logic_->Release();
  logic_.reset();
  busy_ = false;
}

LRESULT CFetchMultiProgress::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == orbe::kSqlReplyMessage) {
    OnAsynReceiveSQLData(wparam, lparam);
    return 0;
  }
  if (message == orbe::kTqlReplyMessage) {
    OnAsynReceiveTQLData(wparam, lparam);
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}

void CFetchMultiProgress::SetScreeningCodes(std::unique_ptr<orbe::ScreeningCodes> codes) {
  codes_ = std::move(codes);
  converted_chunks_.clear();
}

const orbe::ScreeningCodes& CFetchMultiProgress::Codes() const {
  if (!codes_) {
    // Created on first use: the session's reference tables are loaded by then.
    auto& self = const_cast<CFetchMultiProgress&>(*this);
    self.codes_ = orbe::MakeSessionScreeningCodes(session_ != nullptr ? session_ : GetGlobalMainOrbeClientSession());
  }
  return *codes_;
}

void CFetchMultiProgress::SetProgress(int pos, bool hide) {
  hide_ = hide;
  progress_ = std::clamp(pos, 0, kFullProgress);
  if (GetSafeHwnd() != nullptr) ShowWindow(hide ? SW_HIDE : SW_SHOW);
}

bool CFetchMultiProgress::FetchData(const IndexScheme& scheme, const std::string& codes) {
  if (busy_ || mgr_ == nullptr) return false;
  chunks_ = SplitCodes(codes);
  converted_chunks_.clear();
  tql_stamps_.clear();
  chunk_ = chunks_.empty() ? -1 : 0;
  results_.clear();
  groups_.clear();
  tqls_.clear();
  group_ = -1;
  tql_ = -1;

  if (!GetAllCondition(mgr_, scheme, entities_) || entities_.empty() || entities_.size() < scheme.items.size()) {
    MessageBoxA(GetSafeHwnd(), "待选指标错误", "错误", MB_OK | MB_ICONERROR);
    return false;
  }
  scheme_ = scheme;
  use_logic_ = !scheme.expression.empty();
  if (use_logic_) {
    if (!logic_) return false;
    logic_->Release();
    if (!logic_->Compile(ExpressionWithParams(scheme.expression), static_cast<int>(scheme.items.size()))) {
      use_logic_ = false;
      MessageBoxA(GetSafeHwnd(), "表达式错误", "提示", MB_OK | MB_ICONINFORMATION);
      return false;
    }
  }
  GroupIndex();

  const bool canRequest = session_ != nullptr && sql_handle_ != nullptr && tql_handle_ != nullptr;
  if (canRequest && !groups_.empty()) {
    group_ = 0;
    if (!SendSqlGroup()) {
      // A catalogue whose first statement cannot be built must not end in a
      // table that silently lacks every SQL indicator.
      MessageBoxA(GetSafeHwnd(), "系统配置文件错误", "错误", MB_OK | MB_ICONERROR);
      group_ = -1;
      return false;
    }
    busy_ = true;
    SetProgress(0, false);
    return true;
  }
  if (canRequest && !tqls_.empty()) {
    tql_ = 0;
    busy_ = true;
    SetProgress(0, false);
    SendTql();
    return true;
  }
  FetchMemData();
  CalcData();
  ::PostMessage(owner_, done_msg_, 0, 0);
  return true;
}

bool CFetchMultiProgress::ReFetchAndCalcData() {
  if (busy_) return false;
  FetchMemData();
  CalcData();
  return true;
}

bool CFetchMultiProgress::SendSqlGroup() {
  const std::vector<int>& group = groups_[static_cast<std::size_t>(group_)];
  BYTE tag = 0;
  const std::string sql = GenSql(group, tag);
  if (sql.empty()) return false;
  sql_handle_->ClearSqlOption();
  if (chunk_ >= 0 && chunk_ < static_cast<int>(chunks_.size())) {
    const std::string& codes = ConvertedChunk(GetGroupSysIndexsCodeType(group));
    if (codes.empty()) {
      // No code of this chunk is known: without the option the statement
      // would read the whole table, so the chunk answers nothing instead.
      ::PostMessage(GetSafeHwnd(), orbe::kSqlReplyMessage, 0, 0);
      return true;
    }
    sql_handle_->AddSqlOption(tag, codes.c_str());
  }
  std::vector<char> options(orbe::kMaxOptionBuffer, '\0');
  const WORD length = sql_handle_->GetSqlOptionBuffer(options.data(), static_cast<int>(options.size()));
  sql_handle_->FetchData(sql.c_str(), options.data(), length, FALSE);
  return true;
}

void CFetchMultiProgress::SendTql() {
  const std::string option = GenTQLOption(tql_);
  const bool chunkHasCodes = chunk_ < 0 || option.empty() || option.back() != '|';
  if (option.empty() || !chunkHasCodes) {
    // Nothing to ask (a broken indicator, or no known code in the chunk: an
    // empty list would ask for the whole market). The stage moves on.
    ::PostMessage(GetSafeHwnd(), orbe::kTqlReplyMessage, 0, 0);
    return;
  }
  if (LoadTqlFromCache(option)) return;
  tql_handle_->CallTQL(orbe::kDataBrowseFunction, option.c_str());
}

bool CFetchMultiProgress::AdvanceChunk(int& item, int itemCount) {
  if (chunk_ >= 0 && chunk_ + 1 < static_cast<int>(chunks_.size())) {
    ++chunk_;
    return true;
  }
  chunk_ = chunks_.empty() ? -1 : 0;
  ++item;
  return item < itemCount;
}

void CFetchMultiProgress::Finish(bool compute) {
  SetProgress(kFullProgress, true);
  if (compute) {
    FetchMemData();
    CalcData();
  }
  busy_ = false;
  group_ = -1;
  tql_ = -1;
  ::PostMessage(owner_, done_msg_, 0, 0);
}
