// What IContainerFun keeps for its container, shared by the files that
// implement its operation families.
#ifndef ORBE_SCRIPT_CONTAINER_DATA_H_
#define ORBE_SCRIPT_CONTAINER_DATA_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "protocol/statements.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/fetch_file.h"
#include "orbe/script/container_fun.h"
#include "orbe/script/script_ref.h"

struct _object;

namespace orbe {

struct FetchDataDeleter {
  void operator()(IFetchData* handle) const { DeleteFetchDataHandle(handle); }
};
struct FetchFileDeleter {
  void operator()(IFetchFile* handle) const { DeleteFetchFileHandle(handle); }
};
using FetchDataPtr = std::unique_ptr<IFetchData, FetchDataDeleter>;
using FetchFilePtr = std::unique_ptr<IFetchFile, FetchFileDeleter>;

// An asynchronous request in flight: its handle, whether its reply must be
// dropped, and the script function that receives it.
struct PendingRequest {
  FetchDataPtr handle;
  bool cancelled = false;
  // The send was refused: the entry keeps the handle (so that its address is
  // not taken by a new request while a status of the refused send may still
  // be queued) until the container's own retire message comes back.
  bool retired = false;
  std::string callback;
};

// One of the two long-lived handles of the synchronous methods.
struct SyncHandle {
  FetchDataPtr handle;
  OrbeClientSession* session = nullptr;  // the session it was made for
  int id = 0;
};

// A file fetch: its handle per session, and what the last FetchFile asked.
struct FileFetch {
  FetchFilePtr handle;
  OrbeClientSession* session = nullptr;
  std::string directory;
};

// The field a script read last (it reads the same field of many records):
// valid while its handle keeps its reply.
struct FieldCache {
  const IFetchData* handle = nullptr;
  std::string name;
  tagMemFieldInfo field{};
};

struct ContainerData {
  explicit ContainerData(IContainerFun& owner) : owner(owner) {}

  static ContainerData& Of(IContainerFun& container) { return *container.data_; }

  // A small id for a handle: positive, never the id of another live handle.
  int NewHandleId();
  // The handle a script's int names: a request in flight or a synchronous one.
  IFetchData* HandleOf(int id);
  // The synchronous handle of the container's session, made on first use.
  IFetchData* SyncHandleOfSession(int* id);
  // Enters a new request for the container's session; null when no handle
  // could be made. The request map owns it.
  IFetchData* NewRequest(const std::string& callback, int* id);
  // Forgets a request and frees its handle.
  void DropRequest(int id);
  // A refused send: cancelled, freed when kContainerRetireMessage returns.
  void RetireRequest(int id);
  void ForgetBoundObject(_object* object);
  // The field of a reply by its name ("T001"); null when there is none. Valid
  // until the next call.
  const tagMemFieldInfo* FieldOf(IFetchData* handle, const std::string& name);

  IContainerFun& owner;

  std::map<int, PendingRequest> requests;
  // Requests that ended without their complete reply: a failure status or a refused send.
  int failed_replies = 0;
  std::unordered_map<const IFetchData*, int> request_ids;
  int next_id = 1;
  std::vector<wire::SqlOption> sql_options;
  FieldCache field_cache;
  // The handle a script read last (reads come in runs on one reply).
  int last_id = 0;
  IFetchData* last_handle = nullptr;

  std::array<unsigned char, kExchangeBufferSize> exchange{};
  std::uint32_t rpc_position = 0;
  std::uint32_t push_position = 0;
  std::uint32_t push_length = 0;

  SyncHandle sync[2];  // main, sub
  FileFetch files[2];  // main, sub
  std::string file_callback;
  std::string file_name;
  int file_session = 0;

  bool timer = false;
  // Kept for the destructor and the engine threads, which must not call the
  // owner's hooks.
  HWND timer_window = nullptr;
  std::atomic<HWND> push_window{nullptr};
  std::map<std::string, ScriptRef> objects;
  // Script objects bound to this container during calls still running.
  std::vector<_object*> bound_objects;

  std::mutex push_mutex;
  std::deque<std::string> push_queue;
  // What the container subscribed as (the deriving window).
  ISubscribeMessageCallBack* receiver = nullptr;
};

// The part of a path after its last separator ('/' or '\\').
inline std::string FileNamePart(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

// Clears the container pointer of a script object (script_object.cpp).
void ClearBoundScriptObject(_object* object);

}  // namespace orbe

#endif  // ORBE_SCRIPT_CONTAINER_DATA_H_
