#include "dictionary/reference_loader.h"

#include <chrono>
#include <utility>

#include "dataservice/reply_sql_handle.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr int kCallSucceeded = 0;

}  // namespace

FetchHandleFactory SessionFetchHandles(OrbeClientSession* session) {
  return [session](HWND window, UINT message) -> std::unique_ptr<IFetchData> {
    return std::make_unique<ReplySqlHandle>(session, window, message);
  };
}

std::string ReferencePageKey(int set, int page) { return Format("%d%d", set, page); }

std::string ReferenceCacheKey(const char* procedure, const std::string& page_key) {
  return std::string(procedure) + "|" + page_key;
}

ReferenceLoader::ReferenceLoader(const ReferenceProcedureLayout& layout, std::unique_ptr<ReferenceTarget> target,
                                 FetchHandleFactory handles, CWnd* parent)
    : layout_(layout), target_(std::move(target)), handles_(std::move(handles)), parent_(parent) {}

ReferenceLoader::~ReferenceLoader() {
  fetch_.reset();
  DestroyWindow();
}

bool ReferenceLoader::Run() {
  success_ = false;
  done_ = false;
  step_ = 0;
  page_ = 0;
  progress_ = 0;
  if (target_ == nullptr || !handles_) return false;
  // A parent without a window (or none) leaves the loader top-level.
  CWnd* const owner = parent_ != nullptr && parent_->GetSafeHwnd() != nullptr ? parent_ : nullptr;
  if (GetSafeHwnd() == nullptr && !Create(owner, RECT{0, 0, 0, 0}, 0)) return false;
  target_->Clear();
  fetch_ = handles_(GetSafeHwnd(), kReferenceReplyMessage);
  if (fetch_ == nullptr) return false;
  SetTimer(layout_.timer_id, kReferenceTickMs, nullptr);
  RunModalLoop();
  KillTimer(layout_.timer_id);
  fetch_.reset();
  // A loop left without Close (the window destroyed, a quit posted) is a failure.
  if (!done_) success_ = false;
  DestroyWindow();
  return success_;
}

void ReferenceLoader::OnTimer(UINT_PTR id) {
  if (id != layout_.timer_id || done_) return;
  KillTimer(id);
  // Steps continue within one tick's time: a tick per page would spend most
  // of a cached load waiting for the timer, while the loop still gets to
  // pump (and hear a cancel) every tick.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReferenceTickMs);
  do {
    Step();
    progress_ = step_ * 100 / (SetCount() + 1);
  } while (!done_ && std::chrono::steady_clock::now() < until);
  if (!done_) SetTimer(layout_.timer_id, kReferenceTickMs, nullptr);
}

void ReferenceLoader::Step() {
  if (step_ == 0) {
    ReadStamps();
    step_ = 1;
    page_ = 0;
  } else if (step_ <= SetCount()) {
    if (!ReadPage()) Close(false);
  } else {
    target_->Finish();
    Close(true);
  }
}

void ReferenceLoader::ReadStamps() {
  stamps_.assign(layout_.sets.size(), 0);
  for (int set = 0; set < SetCount(); ++set) {
    const std::string parameter = Format("TS%d", set);
    std::int64_t stamp = 0;
    // Without a stamp the set is still read, only never from or into the cache.
    if (fetch_->SynCallTQL(layout_.procedure, parameter.c_str()) && fetch_->GetCallResult() == kCallSucceeded &&
        fetch_->PopReplyAsInt64(&stamp)) {
      stamps_[set] = stamp;
    }
  }
}

bool ReferenceLoader::ReadPage() {
  const int set = step_ - 1;
  const ReferenceSetLayout& layout = layout_.sets[set];
  const std::string page_key = ReferencePageKey(set, page_);
  const std::string cache_key = ReferenceCacheKey(layout_.procedure, page_key);
  const std::int64_t server = stamps_[set];
  std::int64_t cached = fetch_->GetCacheTimeStamp(cache_key.c_str());
  bool from_cache = cached > 0 && cached == server;
  if (from_cache && !FetchPage(cache_key, page_key, true)) {
    // An unreadable entry would fail every later start too: read the page
    // from the service and replace the entry.
    from_cache = false;
    cached = -1;
  }
  if (!from_cache && !FetchPage(cache_key, page_key, false)) return false;

  int count = 0;
  std::vector<std::vector<std::string>> records;
  if (!DecodePage(layout, &count, &records)) return false;
  for (const std::vector<std::string>& record : records) target_->Store(set, record);
  if (server > 0 && server != cached) fetch_->SaveCache(cache_key.c_str(), server);
  Advance(layout, count);
  return true;
}

bool ReferenceLoader::FetchPage(const std::string& cache_key, const std::string& page_key, bool from_cache) {
  const BOOL fetched = from_cache ? fetch_->LoadCache(cache_key.c_str())
                                  : fetch_->SynCallTQL(layout_.procedure, page_key.c_str());
  return fetched && fetch_->GetCallResult() == kCallSucceeded;
}

bool ReferenceLoader::DecodePage(const ReferenceSetLayout& set, int* count,
                                 std::vector<std::vector<std::string>>* records) {
  short popped = 0;
  if (!fetch_->PopReplyAsShort(&popped)) return false;
  *count = popped;
  records->reserve(popped > 0 ? static_cast<std::size_t>(popped) : 0);
  char text[256];
  for (int index = 0; index < popped; ++index) {
    std::vector<std::string> record;
    record.reserve(set.widths.size());
    for (const std::uint8_t width : set.widths) {
      // A count larger than the reply fails here instead of reading past it.
      if (!fetch_->PopReplyAsString(width, text, width + 1)) return false;
      record.emplace_back(text);
    }
    records->push_back(std::move(record));
  }
  return true;
}

void ReferenceLoader::Advance(const ReferenceSetLayout& set, int count) {
  // A negative count ends any set: repeating the page would never end.
  if (set.paged && count >= 1) {
    ++page_;
    return;
  }
  ++step_;
  page_ = 0;
}

void ReferenceLoader::Close(bool success) {
  if (done_) return;
  success_ = success;
  done_ = true;
  KillTimer(layout_.timer_id);
  EndModalLoop(success ? 1 : 0);
}

}  // namespace orbe
