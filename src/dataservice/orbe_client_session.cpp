#include "orbe/dataservice/orbe_client_session.h"

#include <utility>

#include "dataservice/deferred_reply_cache.h"

#include "dictionary/dictionary_refresh_dialog.h"
#include "dictionary/reference_loader_dialogs.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

constexpr int kGeneralDatabaseMain = 0;
constexpr int kGeneralDatabaseNone = 2;
constexpr int kGeneralDatabaseTopics = 3;
constexpr orbe::ReferenceTopic kStartTopics[] = {orbe::ReferenceTopic::kHongKong, orbe::ReferenceTopic::kFund,
                                                 orbe::ReferenceTopic::kBond, orbe::ReferenceTopic::kFutures};

}  // namespace

OrbeClientSession::OrbeClientSession() = default;

// The three-argument constructor, which takes the module's loaded cache
// component, is defined with the module's state (src/env/session_components.cpp).
OrbeClientSession::OrbeClientSession(ICwDataEngin* engine, const orbe::CacheEntryPoints& cacheComponent,
                                     const std::string& cacheDirectory, const std::string& configurationFile)
    : engine_(engine), cache_directory_(cacheDirectory), configuration_file_(configurationFile) {
  if (cacheComponent.CreateTCwCacheInstance != nullptr && cacheComponent.DeleteTCwCacheInstance != nullptr) {
    orbe::CachePtr instance(cacheComponent.CreateTCwCacheInstance(cache_directory_.c_str(), 0, 0),
                            {cacheComponent.DeleteTCwCacheInstance});
    if (instance != nullptr) cache_ = std::make_unique<orbe::DeferredReplyCache>(std::move(instance));
  }
}

ITCwcache* OrbeClientSession::GetCwcache() const { return cache_.get(); }

OrbeClientSession::~OrbeClientSession() {
  link_->Sever();
  UninitSession();
  cache_.reset();
}

ICwRequestSession* OrbeClientSession::CreateSession(bool alternativeKind, bool /*push*/) {
  if (engine_ != nullptr) {
    request_session_ = alternativeKind ? engine_->CreateAltConfiguredRequestSession(nullptr)
                                       : engine_->CreateConfiguredRequestSession(nullptr);
  }
  return nullptr;
}

ICwRequestSession* OrbeClientSession::CreateSession(CWHOSTINFO& host, bool alternativeKind, bool /*push*/) {
  if (engine_ != nullptr) {
    request_session_ = alternativeKind ? engine_->CreateAltRequestSession(&host, nullptr)
                                       : engine_->CreateRequestSession(&host, nullptr);
  }
  return nullptr;
}

bool OrbeClientSession::InitSession(int generalDatabase, CWnd* parent) {
  if (initialised_ || generalDatabase == kGeneralDatabaseNone) return true;
  if (request_session_ == nullptr) return false;
  // Marked first, so that a failure below is not retried by a later call.
  initialised_ = true;
  // Brings the dictionary files up to date; whatever is in place afterwards is loaded.
  orbe::RefreshDictionaryFiles(*this, cache_directory_, generalDatabase);
  if (!CwFileUtil::LoadCWSysData(this, cache_directory_.c_str())) return false;
  if (generalDatabase != kGeneralDatabaseMain && generalDatabase != kGeneralDatabaseTopics) return true;
  if (!orbe::LoadMainTables(this, parent)) return false;
  if (generalDatabase == kGeneralDatabaseTopics) {
    // Each topic only after the previous one loaded; the last result stands.
    for (const orbe::ReferenceTopic topic : kStartTopics) {
      if (!orbe::LoadTopicTables(topic, this, parent)) return false;
    }
  }
  // The lookups' indexes are built while the session starts, so that the
  // first report or screening does not wait for them.
  static_cast<void>(References().Index());
  return true;
}

void OrbeClientSession::End() {
  Quit();
  link_->Sever();
}

void OrbeClientSession::UninitSession() {
  if (request_session_ == nullptr) return;
  CwFileUtil::UnLoadCWSysData(this);
  request_session_ = nullptr;
}

// The engine frees a session once it is quit: it is forgotten here, so
// nothing reaches it afterwards.
void OrbeClientSession::Quit() {
  if (ICwRequestSession* session = request_session_.exchange(nullptr)) session->Quit();
}

void OrbeClientSession::ResetReplyHandleQueue(bool also) {
  ICwRequestSession* session = request_session_.load();
  if (session == nullptr) return;
  session->ResetReplyHandleQueue();
  if (also) session->ResetSecondReplyHandleQueue();
}

void OrbeClientSession::SetInfoBlock(unsigned char a, unsigned char b, unsigned char c) {
  info_block_[0] = a;
  info_block_[1] = b;
  info_block_[2] = c;
}

void OrbeClientSession::GetInfoBlock(unsigned char& a, unsigned char& b, unsigned char& c) {
  a = info_block_[0];
  b = info_block_[1];
  c = info_block_[2];
  info_block_[0] = info_block_[1] = info_block_[2] = 0;
}
