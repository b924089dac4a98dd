// The requests of a screening over the main session: the SQL and TQL reply
// handles and the one that asks for the time stamps of query-language
// functions, all answering the progress window by message. Query-language
// replies are kept in the session's reply cache under the stamp the service
// gives for the data of their function ("TS|function"); a service that
// refuses the stamp is asked once per screening and then not again.
#ifndef ORBE_INDICATORS_FETCH_REQUESTS_H_
#define ORBE_INDICATORS_FETCH_REQUESTS_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "orbe/platform/types.h"

class IFetchData;

namespace orbe {

class FetchRequests {
 public:
  // The handles over the global main session, answering `window`; null when
  // there is no session.
  static std::unique_ptr<FetchRequests> Open(HWND window);
  ~FetchRequests();
  FetchRequests(const FetchRequests&) = delete;
  FetchRequests& operator=(const FetchRequests&) = delete;

  // Forgets the stamps of the previous screening.
  void BeginScreening();

  // The statement, with `codes` as the option of `tag` when not null; its
  // completion (also a refusal) arrives as kSqlReplyMessage.
  void SendStatement(const std::string& sql, BYTE tag, const std::string* codes);
  IFetchData* SqlHandle() const { return sql_.get(); }

  enum class TqlStep { kSent, kAwaitingStamp };
  // Asks for the stamp of the option's function first when it is not known
  // (kAwaitingStamp: send again after OnStampReply); otherwise the reply is
  // taken from the cache or asked for, and arrives as kTqlReplyMessage.
  TqlStep SendTql(const std::string& option);
  // True when this was the stamp reply awaited.
  bool OnStampReply(WPARAM status, LPARAM handle);
  // Keeps a query-language reply in the cache when it was asked for under a stamp.
  void OnTqlReply(WPARAM status, IFetchData* reply);
  IFetchData* TqlHandle() const { return tql_.get(); }

 private:
  struct HandleDeleter {
    void operator()(IFetchData* handle) const;
  };
  using Handle = std::unique_ptr<IFetchData, HandleDeleter>;

  FetchRequests(Handle sql, Handle tql, Handle stamp);
  void SendTqlUnderStamp(const std::string& option, std::int64_t stamp);

  Handle sql_;
  Handle tql_;
  Handle stamp_;
  std::map<std::string, std::int64_t> stamps_;  // this screening's, by function
  bool stamps_refused_ = false;                 // the service refused one this screening
  std::string awaited_stamp_;                   // the function whose stamp is in flight
  std::string save_key_;                        // where the reply in flight goes
  std::int64_t save_stamp_ = 0;
};

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_REQUESTS_H_
