// The screening's life as a window: start, the SQL and TQL stages driven by
// reply messages, completion. What is asked comes from the plan, what the
// replies hold from the readers, what the table shows from the calculator.
#include "orbe/indicators/fetch_multi_progress.h"

#include <algorithm>
#include <cstdio>

#include "indicators/fetch_calculator.h"
#include "indicators/fetch_plan.h"
#include "indicators/fetch_replies.h"
#include "indicators/fetch_requests.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/reply_handle.h"
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

// What the user reads about a request that did not end with its whole reply.
const char* FailureReason(int status) {
  switch (status) {
    case orbe::wire::kStatusConnectionLost:
      return "与数据服务的连接中断";
    case orbe::wire::kStatusTimedOut:
      return "数据服务超时未应答";
    case orbe::wire::kStatusProxyUnsupported:
      return "没有可用的数据服务主机";
    case orbe::wire::kStatusDropped:
      return "请求已被取消";
    default:
      return "数据服务拒绝了请求";
  }
}

}  // namespace

CFetchMultiProgress::CFetchMultiProgress(IIndexMgr* mgr, HWND owner, UINT doneMsg)
    : mgr_(mgr), owner_(owner), done_msg_(doneMsg), plan_(std::make_unique<orbe::FetchPlan>()) {}

CFetchMultiProgress::~CFetchMultiProgress() { DestroyWindow(); }

int CFetchMultiProgress::OnCreate() {
  session_ = GetGlobalMainOrbeClientSession();
  requests_ = orbe::FetchRequests::Open(GetSafeHwnd());
  if (mgr_ != nullptr) logic_ = std::make_unique<CPyLogicCalc>(mgr_->GetScriptDir());
  SetProgress(0, true);
  return 0;
}

void CFetchMultiProgress::OnDestroy() {
  requests_.reset();
  if (logic_) logic_->Release();
  logic_.reset();
  busy_ = false;
}

LRESULT CFetchMultiProgress::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case orbe::kSqlReplyMessage:
      OnAsynReceiveSQLData(wparam, lparam);
      return 0;
    case orbe::kTqlReplyMessage:
      OnAsynReceiveTQLData(wparam, lparam);
      return 0;
    case orbe::kStampReplyMessage:
      OnAsynReceiveStamp(wparam, lparam);
      return 0;
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

void CFetchMultiProgress::SetScreeningCodes(std::unique_ptr<orbe::ScreeningCodes> codes) {
  codes_ = std::move(codes);
  plan_->converted.clear();
}

const orbe::ScreeningCodes& CFetchMultiProgress::Codes() const {
  // Made on first use: the session's reference tables are loaded by then.
  if (!codes_) {
    codes_ = orbe::MakeSessionScreeningCodes(session_ != nullptr ? session_ : GetGlobalMainOrbeClientSession());
  }
  return *codes_;
}

const std::vector<EntityParam>& CFetchMultiProgress::GetEntityParams() const { return plan_->entities; }
const std::vector<std::vector<int>>& CFetchMultiProgress::GetSqlGroups() const { return plan_->groups; }
const std::vector<int>& CFetchMultiProgress::GetTqlList() const { return plan_->tqls; }

void CFetchMultiProgress::SetProgress(int pos, bool hide) {
  hide_ = hide;
  progress_ = std::clamp(pos, 0, kFullProgress);
  if (GetSafeHwnd() != nullptr) ShowWindow(hide ? SW_HIDE : SW_SHOW);
}

// Percent of the requests done: groups, then TQL indicators.
int CFetchMultiProgress::StageProgress(int done) const {
  const int total = static_cast<int>(plan_->groups.size() + plan_->tqls.size());
  return total == 0 ? kFullProgress : done * kFullProgress / total;
}

bool CFetchMultiProgress::FetchData(const IndexScheme& scheme, const std::string& codes) {
  if (busy_ || mgr_ == nullptr) return false;
  failed_status_ = 0;
  group_ = -1;
  tql_ = -1;
  std::optional<orbe::FetchPlan> plan = orbe::MakeFetchPlan(mgr_, scheme, codes);
  if (!plan) {
    *plan_ = orbe::FetchPlan{};
    results_.clear();
    MessageBoxA(GetSafeHwnd(), "待选指标错误", "错误", MB_OK | MB_ICONERROR);
    return false;
  }
  *plan_ = std::move(*plan);
  results_.assign(plan_->bases.size(), CodeValues{});
  chunk_ = plan_->chunks.empty() ? -1 : 0;
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
  if (requests_) requests_->BeginScreening();

  if (requests_ && !plan_->groups.empty()) {
    group_ = 0;
    if (SendSqlGroup()) {
      busy_ = true;
      SetProgress(0, false);
      return true;
    }
    // The first statement cannot be built: nothing is sent, and the screening
    // goes on with the query-language indicators.
    group_ = -1;
  }
  if (requests_ && !plan_->tqls.empty()) {
    busy_ = true;
    SetProgress(0, false);
    StartTqlStage();
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
  BYTE tag = 0;
  const std::string sql = orbe::GroupStatement(*plan_, group_, session_, tag);
  if (sql.empty()) return false;
  if (chunk_ < 0) {
    requests_->SendStatement(sql, tag, nullptr);
    return true;
  }
  const std::string& codes = orbe::ConvertedChunk(*plan_, chunk_, orbe::GroupCodeType(*plan_, group_), Codes());
  if (codes.empty()) {
    // No code of this chunk is known: without the option the statement
    // would read the whole table, so the chunk answers nothing instead.
    ::PostMessage(GetSafeHwnd(), orbe::kSqlReplyMessage, 0, 0);
    return true;
  }
  requests_->SendStatement(sql, tag, &codes);
  return true;
}

void CFetchMultiProgress::SendTql() {
  std::string option = orbe::TqlOptionHead(*plan_, tql_, session_);
  if (!option.empty() && chunk_ >= 0) {
    const std::string& codes = orbe::ConvertedChunk(*plan_, chunk_, IIndexMgr::CODE_STOCK, Codes());
    // An empty list would ask for the whole market.
    option = codes.empty() ? std::string() : option + codes;
  }
  if (option.empty()) {
    // Nothing to ask (a broken indicator, or no known code in the chunk).
    ::PostMessage(GetSafeHwnd(), orbe::kTqlReplyMessage, 0, 0);
    return;
  }
  requests_->SendTql(option);  // a stamp asked first comes back as kStampReplyMessage
}

bool CFetchMultiProgress::AdvanceChunk(int& item, int itemCount) {
  if (chunk_ >= 0 && chunk_ + 1 < static_cast<int>(plan_->chunks.size())) {
    ++chunk_;
    return true;
  }
  chunk_ = plan_->chunks.empty() ? -1 : 0;
  ++item;
  return item < itemCount;
}

void CFetchMultiProgress::OnAsynReceiveSQLData(WPARAM status, LPARAM handle) {
  if (!busy_ || group_ < 0 || !requests_) return;
  auto* reply = reinterpret_cast<IFetchData*>(handle);
  if (reply != nullptr && reply == requests_->SqlHandle() && static_cast<int>(status) != kCwStatusComplete) {
    Abandon("SQL", group_, static_cast<int>(status));
    return;
  }
  if (reply != nullptr && reply == requests_->SqlHandle()) {
    orbe::ReadSqlReply(*reply, *plan_, group_, Codes(), results_);
  }
  if (AdvanceChunk(group_, static_cast<int>(plan_->groups.size()))) {
    SetProgress(StageProgress(group_), false);
    if (!SendSqlGroup()) {
      MessageBoxA(GetSafeHwnd(), "系统配置文件错误", "错误", MB_OK | MB_ICONERROR);
      Finish(true);
    }
    return;
  }
  group_ = -1;
  if (plan_->tqls.empty()) {
    Finish(true);
    return;
  }
  SetProgress(StageProgress(static_cast<int>(plan_->groups.size())), false);
  StartTqlStage();
}

void CFetchMultiProgress::StartTqlStage() {
  tql_ = 0;
  chunk_ = plan_->chunks.empty() ? -1 : 0;
  SendTql();
}

void CFetchMultiProgress::OnAsynReceiveStamp(WPARAM status, LPARAM handle) {
  if (!busy_ || tql_ < 0 || !requests_ || !requests_->OnStampReply(status, handle)) return;
  SendTql();
}

void CFetchMultiProgress::OnAsynReceiveTQLData(WPARAM status, LPARAM handle) {
  if (!busy_ || tql_ < 0 || !requests_) return;
  auto* reply = reinterpret_cast<IFetchData*>(handle);
  if (reply != nullptr && reply == requests_->TqlHandle() && static_cast<int>(status) != kCwStatusComplete) {
    Abandon("TQL", tql_, static_cast<int>(status));
    return;
  }
  if (reply != nullptr && reply == requests_->TqlHandle()) {
    requests_->OnTqlReply(status, reply);
    const auto seq = static_cast<std::size_t>(plan_->tqls[static_cast<std::size_t>(tql_)]);
    if (const auto* tql = dynamic_cast<const SysIndexTQL*>(plan_->bases[seq].index)) {
      orbe::ReadTqlReply(*reply, *tql, Codes(), results_[seq]);
    }
  }
  if (AdvanceChunk(tql_, static_cast<int>(plan_->tqls.size()))) {
    SetProgress(StageProgress(static_cast<int>(plan_->groups.size()) + tql_), false);
    SendTql();
    return;
  }
  Finish(true);
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

void CFetchMultiProgress::Abandon(const char* stage, int item, int status) {
  failed_status_ = status;
  results_.assign(plan_->bases.size(), CodeValues{});
  table_.clear();
  output_.clear();
  total_ = 0;
  char text[160];
  std::snprintf(text, sizeof text, "%s，选股未完成（%s请求 %d，状态 %d）", FailureReason(status), stage, item + 1,
                status);
  Finish(false);
  MessageBoxA(GetSafeHwnd(), text, "错误", MB_OK | MB_ICONERROR);
}

void CFetchMultiProgress::FetchMemData() { orbe::FetchQuoteValues(GetDataFunc(), *plan_, Codes(), results_); }

void CFetchMultiProgress::CalcData() {
  table_ = orbe::BuildResultTable(mgr_, *plan_, results_, Codes());
  total_ = static_cast<int>(table_.size());
  output_ = use_logic_ && logic_ ? orbe::FilterByLogic(table_, plan_->entities, *logic_) : table_;
}

// The static operations of the exported class, over the plan and the calculator.

bool CFetchMultiProgress::GetAllCondition(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out) {
  return orbe::ResolveScheme(mgr, scheme, out);
}

IndexBase* CFetchMultiProgress::GetNonUsrIndexInEntityParams(const std::vector<EntityParam>& params, int seq,
                                                             int& entity, int& base) {
  return orbe::BaseOfSequence(params, seq, entity, base);
}

std::string CFetchMultiProgress::CmpCodesToInnerCodes(const std::string& codes) {
  return orbe::ToInnerCodes(*orbe::MakeSessionScreeningCodes(GetGlobalMainOrbeClientSession()), codes);
}

std::string CFetchMultiProgress::CmpCodesToStockCodes(const std::string& codes) {
  return orbe::ToStockCodes(*orbe::MakeSessionScreeningCodes(GetGlobalMainOrbeClientSession()), codes);
}

CodeValues CFetchMultiProgress::CalcUsrIndex(IIndexMgr* mgr, const std::vector<EntityParam>& params,
                                             const std::vector<CodeValues>& results, int entity, int firstSeq,
                                             int count) {
  return orbe::CalcUsrValues(mgr, params, results, entity, firstSeq, count);
}

int CFetchMultiProgress::GetCell(int row, int col, const SgTable& table, sg_cell& cell) {
  const auto foundRow = table.find(row);
  if (foundRow == table.end()) return 0;
  const auto foundCell = foundRow->second.find(col);
  if (foundCell == foundRow->second.end()) return 0;
  cell = foundCell->second;
  return 1;
}

std::vector<std::string> CFetchMultiProgress::SplitCodes(const std::string& codes) {
  return orbe::SplitCodeChunks(codes);
}

bool CFetchMultiProgress::FillHQData(const HqIndex& hq, const unsigned char* record, vtParam& value) {
  return record != nullptr && orbe::ReadQuoteField(hq, record, value);
}
