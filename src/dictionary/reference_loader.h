// The stepping engine shared by the reference-table loaders: a window that
// pages through one server procedure on a 10 ms timer inside its own modal
// loop, one page per step and as many steps as fit in a tick, keeping every
// page in the session's reply cache under the time stamp the procedure gives
// for its result set.
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_LOADER_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_LOADER_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/platform/window.h"

class OrbeClientSession;

namespace orbe {

inline constexpr UINT_PTR kReferenceTimerId = 10050;
inline constexpr UINT_PTR kMainTableTimerId = 10049;
inline constexpr UINT kReferenceTickMs = 10;
// Completion message of the loader's data-request handle; the loader reads
// every reply synchronously, so the posts only need a live window to land on.
inline constexpr UINT kReferenceReplyMessage = 2026;

// One result set: the reply's field widths in reply order, and whether the
// set spans pages (a count below 1 ends it) or answers on one page.
struct ReferenceSetLayout {
  std::span<const std::uint8_t> widths;
  bool paged;
};

struct ReferenceProcedureLayout {
  const char* procedure;
  UINT_PTR timer_id;
  std::span<const ReferenceSetLayout> sets;
};

// What a loader fills. Store receives the texts of one record in reply order.
class ReferenceTarget {
 public:
  virtual ~ReferenceTarget() = default;
  virtual void Clear() = 0;
  virtual void Store(int set, std::span<const std::string> fields) = 0;
  // After the last set, before success is reported.
  virtual void Finish() {}
};

// Makes the loader's data-request handle on its window.
using FetchHandleFactory = std::function<std::unique_ptr<IFetchData>(HWND window, UINT message)>;
// Reply handles over `session`.
FetchHandleFactory SessionFetchHandles(OrbeClientSession* session);

// "%d%d": set, then page, no separator ("110" is set 1, page 10).
std::string ReferencePageKey(int set, int page);
// The reply cache of a session is shared by every procedure, so the page key
// alone would let one procedure read another's pages.
std::string ReferenceCacheKey(const char* procedure, const std::string& page_key);

class ReferenceLoader : public CWnd {
 public:
  // A null target (no session) makes Run fail at once.
  ReferenceLoader(const ReferenceProcedureLayout& layout, std::unique_ptr<ReferenceTarget> target,
                  FetchHandleFactory handles, CWnd* parent);
  ~ReferenceLoader() override;

  // Runs the loader modally to its end; true when every set was read.
  bool Run();
  // Stops a running loader with failure, as the dialog's cancel does.
  void Cancel() { Close(false); }

  bool Succeeded() const { return success_; }
  // 0 to 100: step x 100 / (sets + 1).
  int Progress() const { return progress_; }
  ReferenceTarget* Target() const { return target_.get(); }

 protected:
  void OnTimer(UINT_PTR id) override;
  void OnClose() override { Cancel(); }

 private:
  int SetCount() const { return static_cast<int>(layout_.sets.size()); }
  void Step();
  void ReadStamps();
  // One page of the current set; false ends the loader with failure.
  bool ReadPage();
  bool FetchPage(const std::string& cache_key, const std::string& page_key, bool from_cache);
  // The page's records; nothing when the reply is short of its count.
  bool DecodePage(const ReferenceSetLayout& set, int* count, std::vector<std::vector<std::string>>* records);
  void Advance(const ReferenceSetLayout& set, int count);
  void Close(bool success);

  const ReferenceProcedureLayout& layout_;
  const std::unique_ptr<ReferenceTarget> target_;
  const FetchHandleFactory handles_;
  CWnd* const parent_;
  std::unique_ptr<IFetchData> fetch_;
  std::vector<std::int64_t> stamps_;
  int step_ = 0;
  int page_ = 0;
  int progress_ = 0;
  bool success_ = false;
  bool done_ = false;
};

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_LOADER_H_
