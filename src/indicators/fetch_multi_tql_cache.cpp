// Query-language replies in the session's reply cache. The service computes
// them live; "TS|function" gives the time stamp of the data a function reads,
// and a reply cached under an equal stamp is the reply the service would give.
#include <cstdint>
#include <string>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/platform/crypto.h"

namespace {

constexpr int kCallSucceeded = 0;

// Option texts run to thousands of characters: the key holds their digest.
std::string CacheKeyOf(const std::string& option) {
  return std::string(orbe::kDataBrowseFunction) + "|" + orbe::Md5Hex(option);
}

std::string FunctionOf(const std::string& option) { return option.substr(0, option.find('|')); }

}  // namespace

std::int64_t CFetchMultiProgress::TqlStamp(const std::string& function) {
  if (const auto known = tql_stamps_.find(function); known != tql_stamps_.end()) return known->second;
  std::int64_t stamp = 0;
  const std::string parameter = "TS|" + function;
  // A service without the stamp request answers an error: nothing is cached.
  // The stamp handle has no window, so its completion reaches no stage.
  if (stamp_handle_ == nullptr || !stamp_handle_->SynCallTQL(orbe::kDataBrowseFunction, parameter.c_str()) ||
      stamp_handle_->GetCallResult() != kCallSucceeded || !stamp_handle_->PopReplyAsInt64(&stamp)) {
    stamp = 0;
  }
  tql_stamps_[function] = stamp;
  return stamp;
}

bool CFetchMultiProgress::LoadTqlFromCache(const std::string& option) {
  tql_save_key_.clear();
  tql_save_stamp_ = 0;
  const std::int64_t stamp = TqlStamp(FunctionOf(option));
  if (stamp <= 0) return false;
  const std::string key = CacheKeyOf(option);
  // A loaded reply completes like one from the service: its message is posted.
  if (tql_handle_->GetCacheTimeStamp(key.c_str()) == stamp && tql_handle_->LoadCache(key.c_str())) return true;
  tql_save_key_ = key;
  tql_save_stamp_ = stamp;
  return false;
}

void CFetchMultiProgress::SaveTqlToCache(IFetchData* reply) {
  if (reply != nullptr && !tql_save_key_.empty() && reply->GetCallResult() == kCallSucceeded) {
    reply->SaveCache(tql_save_key_.c_str(), tql_save_stamp_);
  }
  tql_save_key_.clear();
  tql_save_stamp_ = 0;
}
