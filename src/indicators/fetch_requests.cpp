// The screening's reply handles, the time stamps of query-language functions
// and their replies in the session's reply cache. The service computes those
// replies live; "TS|function" gives the time stamp of the data a function
// reads, and a reply cached under an equal stamp is the reply the service
// would give.
#include "indicators/fetch_requests.h"

#include <vector>

#include "indicators/fetch_plan.h"
#include "indicators/fetch_replies.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/reply_handle.h"
#include "orbe/env.h"
#include "orbe/platform/crypto.h"

namespace orbe {

namespace {

constexpr int kCallSucceeded = 0;
constexpr char kStampPrefix[] = "TS|";

// Option texts run to thousands of characters: the key holds their digest.
std::string CacheKeyOf(const std::string& option) { return std::string(kDataBrowseFunction) + "|" + Md5Hex(option); }

}  // namespace

void FetchRequests::HandleDeleter::operator()(IFetchData* handle) const {
  // Waits for a request in flight; its late reply finds no window.
  DeleteFetchDataHandle(handle);
}

std::unique_ptr<FetchRequests> FetchRequests::Open(HWND window) {
  if (GetGlobalMainOrbeClientSession() == nullptr) return nullptr;
  Handle sql(CreateFetchDataHandle(window, kSqlReplyMessage));
  Handle tql(CreateFetchDataHandle(window, kTqlReplyMessage));
  Handle stamp(CreateFetchDataHandle(window, kStampReplyMessage));
  if (!sql || !tql || !stamp) return nullptr;
  return std::unique_ptr<FetchRequests>(new FetchRequests(std::move(sql), std::move(tql), std::move(stamp)));
}

FetchRequests::FetchRequests(Handle sql, Handle tql, Handle stamp)
    : sql_(std::move(sql)), tql_(std::move(tql)), stamp_(std::move(stamp)) {}

FetchRequests::~FetchRequests() = default;

void FetchRequests::BeginScreening() {
  stamps_.clear();
  stamps_refused_ = false;
  awaited_stamp_.clear();
  save_key_.clear();
  save_stamp_ = 0;
}

void FetchRequests::SendStatement(const std::string& sql, BYTE tag, const std::string* codes) {
  sql_->ClearSqlOption();
  if (codes != nullptr) sql_->AddSqlOption(tag, codes->c_str());
  std::vector<char> options(kMaxOptionBuffer, '\0');
  const WORD length = sql_->GetSqlOptionBuffer(options.data(), static_cast<int>(options.size()));
  // A statement that is not sent posts its completion with a failure status.
  sql_->FetchData(sql.c_str(), options.data(), length, FALSE);
}

FetchRequests::TqlStep FetchRequests::SendTql(const std::string& option) {
  const std::string function = TqlFunctionOf(option);
  if (!stamps_refused_ && stamps_.find(function) == stamps_.end()) {
    const std::string parameter = kStampPrefix + function;
    awaited_stamp_ = function;
    if (stamp_->CallTQL(kDataBrowseFunction, parameter.c_str())) return TqlStep::kAwaitingStamp;
    // Not sent counts as refused; a completion the handle may still post
    // finds no stamp awaited.
    awaited_stamp_.clear();
    stamps_refused_ = true;
  }
  const auto known = stamps_.find(function);
  SendTqlUnderStamp(option, known == stamps_.end() ? 0 : known->second);
  return TqlStep::kSent;
}

void FetchRequests::SendTqlUnderStamp(const std::string& option, std::int64_t stamp) {
  save_key_.clear();
  save_stamp_ = 0;
  if (stamp > 0) {
    const std::string key = CacheKeyOf(option);
    // A loaded reply completes like one from the service: its message is posted.
    if (tql_->GetCacheTimeStamp(key.c_str()) == stamp && tql_->LoadCache(key.c_str())) return;
    save_key_ = key;
    save_stamp_ = stamp;
  }
  tql_->CallTQL(kDataBrowseFunction, option.c_str());
}

bool FetchRequests::OnStampReply(WPARAM status, LPARAM handle) {
  if (awaited_stamp_.empty() || reinterpret_cast<IFetchData*>(handle) != stamp_.get()) return false;
  const std::optional<std::int64_t> stamp = ReadStampReply(*stamp_, static_cast<int>(status));
  // A service without the request answers an error: nothing is cached, and
  // it is not asked again in this screening.
  if (!stamp) stamps_refused_ = true;
  stamps_[awaited_stamp_] = stamp.value_or(0);
  awaited_stamp_.clear();
  return true;
}

void FetchRequests::OnTqlReply(WPARAM status, IFetchData* reply) {
  if (status == kCwStatusComplete && reply != nullptr && !save_key_.empty() &&
      reply->GetCallResult() == kCallSucceeded) {
    reply->SaveCache(save_key_.c_str(), save_stamp_);
  }
  save_key_.clear();
  save_stamp_ = 0;
}

}  // namespace orbe
