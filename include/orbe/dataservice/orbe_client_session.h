// One connection to the data service: request session, reply cache,
// in-memory dictionary and reference tables.
#ifndef ORBE_DATASERVICE_ORBE_CLIENT_SESSION_H_
#define ORBE_DATASERVICE_ORBE_CLIENT_SESSION_H_

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/reference_tables.h"
#include "protocol/component_entry_points.h"
#include "protocol/cw_cache.h"
#include "protocol/cw_data_engin.h"
#include "protocol/cw_host_info.h"

class CWnd;
class OrbeClientSession;

namespace orbe {
class DeferredReplyCache;
}  // namespace orbe

// How the module's request and file handles reach the session they were made
// on. The session severs it when it ends, so a handle that outlives its
// session finds no session instead of a freed one.
struct OrbeSessionLink {
  static std::shared_ptr<OrbeSessionLink> To(OrbeClientSession* session) {
    auto link = std::make_shared<OrbeSessionLink>();
    link->session.store(session);
    return link;
  }

  std::atomic<OrbeClientSession*> session{nullptr};
  // Held by engine threads for as long as they use the session; severing
  // takes it, so the session cannot go from under such a use.
  std::mutex use;

  void Sever() {
    const std::lock_guard<std::mutex> hold(use);
    session.store(nullptr);
  }
};
using OrbeSessionLinkPtr = std::shared_ptr<OrbeSessionLink>;

class OrbeClientSession {
 public:
  // A session without engine or cache; it never connects.
  OrbeClientSession();
  // Makes the cache for `cacheDirectory` through the module's loaded cache
  // component, when it is present.
  OrbeClientSession(ICwDataEngin* engine, const std::string& cacheDirectory,
                    const std::string& configurationFile);
  // The same through the given cache component (its entry points may be null).
  OrbeClientSession(ICwDataEngin* engine, const orbe::CacheEntryPoints& cacheComponent,
                    const std::string& cacheDirectory, const std::string& configurationFile);
  // Severs the link, UninitSession, then releases the cache. The engine is
  // not called: it may be gone already when a host's session goes with the
  // host's static objects.
  virtual ~OrbeClientSession();
  OrbeClientSession(const OrbeClientSession&) = delete;
  OrbeClientSession& operator=(const OrbeClientSession&) = delete;

  // A request session over the engine's configured host list (or the
  // alternative kind). Returns null; read the session with GetSession. The
  // push flag has no effect.
  ICwRequestSession* CreateSession(bool alternativeKind, bool push);
  // The same to one host.
  ICwRequestSession* CreateSession(CWHOSTINFO& host, bool alternativeKind, bool push);

  // Runs once per session: loads the dictionary and, for general databases 0
  // and 3, the reference tables. Database 2 loads nothing. A failure is not
  // retried by a later call.
  bool InitSession(int generalDatabase, CWnd* parent);
  // Releases the dictionary and forgets the request session.
  void UninitSession();

  ICwRequestSession* GetSession() const { return request_session_.load(); }
  // The reply cache: the component's instance behind the module's queue of
  // unwritten replies (src/dataservice/deferred_reply_cache.h).
  ITCwcache* GetCwcache() const;
  orbe::DeferredReplyCache* ReplyCache() const { return cache_.get(); }
  ICwDataEngin* GetEngine() const { return engine_; }
  const std::string& GetCacheDirectory() const { return cache_directory_; }
  const std::string& GetConfigurationFile() const { return configuration_file_; }
  bool IsInitialised() const { return initialised_; }

  // Quits the request session, which the engine then frees; GetSession is
  // null afterwards.
  void Quit();
  // Drops the request session's queued reply handles; `also` the second queue.
  void ResetReplyHandleQueue(bool also);
  // Ends the session while its engine is still there: quits the request
  // session, which ends every request in flight through its handle, and
  // severs the link. The handles made on it fail every request afterwards.
  void End();
  // What the handles made on this session keep of it.
  const OrbeSessionLinkPtr& Link() const { return link_; }

  // The info block is read once: GetInfoBlock zeroes it after copying.
  void SetInfoBlock(unsigned char a, unsigned char b, unsigned char c);
  void GetInfoBlock(unsigned char& a, unsigned char& b, unsigned char& c);

  // The dictionary loaded when the session is initialised; read through
  // CwFileUtil.
  orbe::CwDictionary& Dictionary() { return dictionary_; }
  const orbe::CwDictionary& Dictionary() const { return dictionary_; }
  // The reference tables the loaders fill; read through CwFileUtil.
  orbe::ReferenceTables& References() { return references_; }
  const orbe::ReferenceTables& References() const { return references_; }

 private:
  ICwDataEngin* engine_ = nullptr;
  // Read by handles on the engine's threads while Quit forgets it.
  std::atomic<ICwRequestSession*> request_session_{nullptr};
  const OrbeSessionLinkPtr link_ = OrbeSessionLink::To(this);
  std::unique_ptr<orbe::DeferredReplyCache> cache_;
  std::string cache_directory_;
  std::string configuration_file_;
  bool initialised_ = false;
  orbe::CwDictionary dictionary_;
  orbe::ReferenceTables references_;
  unsigned char info_block_[3] = {0, 0, 0};
};

#endif  // ORBE_DATASERVICE_ORBE_CLIENT_SESSION_H_
