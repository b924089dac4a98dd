#include "serve_bridge.h"

#include <cstdio>

namespace orbe::terminal {
namespace {

constexpr UINT kRunJob = WM_APP + 61;
constexpr std::size_t kNoticesKept = 16;

}  // namespace

std::string JsonText(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

WebReply JsonError(int status, const std::string& message) {
  return WebReply{status, "{\"error\":" + JsonText(message) + "}", "application/json", ""};
}

WebReply JsonOk(const std::string& members) {
  return WebReply{200, "{\"ok\":true" + (members.empty() ? "" : "," + members) + "}", "application/json", ""};
}

WindowThreadQueue::WindowThreadQueue(std::size_t capacity, std::function<void()> after)
    : capacity_(capacity), after_(std::move(after)), pump_(*this) {
  if (pump_.Create(nullptr, RECT{0, 0, 0, 0}, 0, 0)) pump_handle_ = pump_.GetSafeHwnd();
}

WindowThreadQueue::~WindowThreadQueue() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (Job& job : jobs_) {
    std::lock_guard<std::mutex> done(job.slot->mutex);
    job.slot->done = true;
    job.slot->reply = JsonError(503, "the server is stopping");
    job.slot->done_changed.notify_all();
  }
  jobs_.clear();
  pump_handle_ = nullptr;
}

WebReply WindowThreadQueue::Run(std::function<WebReply()> job, int wait_ms) {
  auto slot = std::make_shared<Slot>();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pump_handle_ == nullptr) return JsonError(503, "the server is stopping");
    if (jobs_.size() >= capacity_) return JsonError(503, "too many requests at once; try again");
    jobs_.push_back(Job{std::move(job), slot});
    // One message per job: a job that pumps (a modal loop) still lets the
    // jobs behind it run.
    if (!::PostMessage(pump_handle_, kRunJob, 0, 0)) {
      jobs_.pop_back();
      return JsonError(503, "the window thread has stopped");
    }
  }
  std::unique_lock<std::mutex> lock(slot->mutex);
  if (!slot->done_changed.wait_for(lock, std::chrono::milliseconds(wait_ms), [&] { return slot->done; })) {
    return WebReply{202, "{\"ok\":true,\"pending\":true}", "application/json", ""};
  }
  return slot->reply;
}

void WindowThreadQueue::RunOne() {
  Job job;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.empty()) return;
    job = std::move(jobs_.front());
    jobs_.pop_front();
  }
  WebReply reply = job.run();
  if (after_) after_();
  std::lock_guard<std::mutex> lock(job.slot->mutex);
  job.slot->reply = std::move(reply);
  job.slot->done = true;
  job.slot->done_changed.notify_all();
}

LRESULT WindowThreadQueue::Pump::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kRunJob) return CWnd::WindowProc(message, wparam, lparam);
  queue_.RunOne();
  return 0;
}

void SnapshotBoard::AddSession(const std::string& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  sessions_[id];
}

bool SnapshotBoard::HasSession(const std::string& id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(id);
  return found != sessions_.end() && !found->second.ended;
}

void SnapshotBoard::EndSession(const std::string& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(id);
  if (found == sessions_.end()) return;
  if (found->second.streams == 0) {
    sessions_.erase(found);
  } else {
    found->second.ended = true;  // erased when its last stream has seen it
  }
  changed_.notify_all();
}

void SnapshotBoard::Touch(const std::string& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(id);
  if (found != sessions_.end()) found->second.touched = std::chrono::steady_clock::now();
}

std::optional<std::pair<double, int>> SnapshotBoard::Activity(const std::string& id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(id);
  if (found == sessions_.end()) return std::nullopt;
  const std::chrono::duration<double> idle = std::chrono::steady_clock::now() - found->second.touched;
  return std::make_pair(idle.count(), found->second.streams);
}

void SnapshotBoard::Publish(const std::string& session, int view, ViewSnapshot snapshot) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(session);
  if (found == sessions_.end()) return;
  ViewSnapshot& shown = found->second.views[view];
  if (shown.version != 0 && shown.html == snapshot.html && shown.title == snapshot.title &&
      shown.status == snapshot.status && shown.closed == snapshot.closed && shown.formats == snapshot.formats) {
    return;
  }
  snapshot.version = Next();
  shown = std::move(snapshot);
  changed_.notify_all();
}

void SnapshotBoard::Notice(const std::string& session, const std::string& json) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(session);
  if (found == sessions_.end()) return;
  std::vector<PendingNotice>& notices = found->second.notices;
  notices.push_back({Next(), json});
  if (notices.size() > kNoticesKept) notices.erase(notices.begin());
  changed_.notify_all();
}

void SnapshotBoard::SetMenu(const std::string& session, const std::string& json) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(session);
  if (found == sessions_.end()) return;
  found->second.menu = json;
  found->second.menu_version = Next();
  changed_.notify_all();
}

std::optional<std::string> SnapshotBoard::Changes(const std::string& session, std::uint64_t* since, int wait_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto newer = [&] {
    const auto found = sessions_.find(session);
    return found == sessions_.end() || found->second.ended || version_ > *since;
  };
  changed_.wait_for(lock, std::chrono::milliseconds(wait_ms), newer);
  const auto found = sessions_.find(session);
  if (found == sessions_.end() || found->second.ended) return std::nullopt;
  const Session& state = found->second;
  std::string events;
  for (const auto& [id, view] : state.views) {
    if (view.version <= *since) continue;
    events += "event: view\ndata: {\"view\":" + std::to_string(id) + ",\"title\":" + JsonText(view.title) +
              ",\"status\":" + JsonText(view.status) + ",\"formats\":" + JsonText(view.formats) +
              ",\"dialog\":" + (view.dialog ? "true" : "false") + ",\"closed\":" + (view.closed ? "true" : "false") +
              ",\"html\":" + JsonText(view.html) + "}\n\n";
  }
  for (const PendingNotice& notice : state.notices) {
    if (notice.version > *since) events += "event: notice\ndata: " + notice.json + "\n\n";
  }
  if (state.menu_version > *since) events += "event: menu\ndata: " + (state.menu.empty() ? "null" : state.menu) + "\n\n";
  *since = version_;
  return events;
}

void SnapshotBoard::StreamOpened(const std::string& session, int delta) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = sessions_.find(session);
  if (found == sessions_.end()) return;
  found->second.streams += delta;
  found->second.touched = std::chrono::steady_clock::now();
  if (found->second.ended && found->second.streams <= 0) sessions_.erase(found);
}

void SnapshotBoard::WakeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [id, session] : sessions_) session.ended = true;
  changed_.notify_all();
}

}  // namespace orbe::terminal
