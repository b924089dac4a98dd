#include "serve_sessions.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "orbe/platform/crypto.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/shell.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/html_render.h"

namespace orbe::terminal {
namespace {

constexpr DWORD kMenuWaitMs = 120000;  // a menu nobody answers is dismissed

std::string MenuItemsJson(const std::vector<PopupMenuItem>& items) {
  std::string json = "[";
  for (const PopupMenuItem& item : items) {
    if (json.size() > 1) json += ",";
    json += "{\"id\":" + std::to_string(item.id) + ",\"text\":" + JsonText(GbkToUtf8(item.text)) +
            ",\"separator\":" + (item.separator ? "true" : "false") + ",\"checked\":" +
            (item.checked ? "true" : "false") + ",\"disabled\":" + (item.disabled ? "true" : "false") +
            ",\"submenu\":" + MenuItemsJson(item.submenu) + "}";
  }
  return json + "]";
}

bool IsInside(const CWnd& window, const CWnd& root) {
  for (const CWnd* at = &window; at != nullptr; at = at->GetParent()) {
    if (at == &root) return true;
  }
  return false;
}

std::optional<int> ViewNumber(const WebParams& params) {
  const std::string text = Param(params, "view");
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::atoi(text.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

struct WebSessions::Session {
  std::map<int, std::unique_ptr<WebView>> views;
  int next_view = 1;
  int busy = 0;         // jobs of this session on the stack
  bool ending = false;  // destroy once no job runs
  bool menu_open = false;
  bool menu_answered = false;
  UINT menu_choice = 0;
};

WebSessions::WebSessions(const ServeContext& context, SnapshotBoard& board, SessionLimits limits)
    : context_(context), board_(board), limits_(limits) {
  SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT type) {
    // A box is shown on the page and answered with its default button: the
    // window goes on as a user who read it and pressed Enter would have.
    NoticeCurrent("{\"box\":" + JsonText(GbkToUtf8(caption)) + ",\"text\":" + JsonText(GbkToUtf8(text)) + "}");
    return DefaultMessageBoxButton(type);
  });
  SetShellExecuteHandler([this](const ShellRequest& request) {
    NoticeCurrent("{\"open\":" + JsonText(GbkToUtf8(request.file)) + "}");
    return kShellExecuteDone;
  });
  SetDialogHandler([this](CDialog& dialog) { ShowDialog(dialog); });
  SetPopupMenuHandler([this](const PopupMenuRequest& request) { return Menu(request); });
}

WebSessions::~WebSessions() {
  while (!sessions_.empty()) Destroy(sessions_.begin()->first);
  SetPopupMenuHandler(nullptr);
  SetDialogHandler(nullptr);
  SetShellExecuteHandler(nullptr);
  SetMessageBoxHandler(nullptr);
}

WebSessions::Session* WebSessions::Find(const std::string& id) {
  const auto found = sessions_.find(id);
  return found == sessions_.end() || found->second->ending ? nullptr : found->second.get();
}

WebReply WebSessions::Create() {
  if (sessions_.size() >= limits_.sessions) return JsonError(503, "too many sessions; close another tab first");
  const std::string id = NewUuidText();
  if (id.empty()) return JsonError(500, "no session id could be made");
  sessions_[id] = std::make_unique<Session>();
  board_.AddSession(id);
  return JsonOk("\"session\":" + JsonText(id));
}

WebReply WebSessions::With(const std::string& id, const std::function<WebReply(Session&)>& job) {
  Session* session = Find(id);
  if (session == nullptr) return JsonError(404, "no such session (it ended or timed out)");
  board_.Touch(id);
  const std::string outer = current_;
  current_ = id;
  ++session->busy;
  WebReply reply = job(*session);
  --session->busy;
  current_ = outer;
  if (session->ending && session->busy == 0) {
    Destroy(id);
  } else {
    Render(id, *session);
  }
  return reply;
}

WebReply WebSessions::Open(const std::string& id, const WebParams& params) {
  return With(id, [&](Session& session) {
    if (session.views.size() >= limits_.views) return JsonError(409, "too many windows open in this tab");
    std::string error;
    std::unique_ptr<WebView> view = OpenView(context_, params, &error);
    if (view == nullptr) return JsonError(400, error);
    const int number = session.next_view++;
    session.views[number] = std::move(view);
    return JsonOk("\"view\":" + std::to_string(number));
  });
}

WebReply WebSessions::Act(const std::string& id, const WebParams& params) {
  return With(id, [&](Session& session) {
    const std::optional<int> number = ViewNumber(params);
    const auto found = number ? session.views.find(*number) : session.views.end();
    if (found == session.views.end()) return JsonError(404, "no such window in this session");
    CWnd* root = found->second->Root();
    const std::string handle = Param(params, "h");
    if (handle.empty() || handle.size() > 20 || handle.find_first_not_of("0123456789") != std::string::npos) {
      return JsonError(400, "h names a window by its number");
    }
    CWnd* target = CWnd::FromHandle(reinterpret_cast<HWND>(std::strtoull(handle.c_str(), nullptr, 10)));
    // Only a window of this view: a page never reaches another tab's windows.
    if (root == nullptr || target == nullptr || !IsInside(*target, *root)) {
      return JsonError(404, "no such window (it was closed or belongs elsewhere)");
    }
    const std::string error = InjectAction(*target, params);
    return error.empty() ? JsonOk() : JsonError(422, error);
  });
}

WebReply WebSessions::Close(const std::string& id, const WebParams& params) {
  return With(id, [&](Session& session) {
    const std::optional<int> number = ViewNumber(params);
    const auto found = number ? session.views.find(*number) : session.views.end();
    if (found == session.views.end()) return JsonError(404, "no such window in this session");
    // A modal dialog ends (its loop unwinds on its own); a window is destroyed.
    if (!found->second->CloseDialog()) {
      if (session.busy > 1) return JsonError(409, "the window is busy with a dialog; close that first");
      session.views.erase(found);
      board_.Publish(id, *number, ViewSnapshot{"", "", "", "", false, true});
    }
    return JsonOk();
  });
}

WebReply WebSessions::PickMenu(const std::string& id, const WebParams& params) {
  return With(id, [&](Session& session) {
    if (!session.menu_open) return JsonError(409, "no menu is open");
    const std::string text = Param(params, "id");
    if (text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) {
      return JsonError(400, "id is a menu command number");
    }
    session.menu_choice = static_cast<UINT>(std::strtoul(text.c_str(), nullptr, 10));
    session.menu_answered = true;
    return JsonOk();
  });
}

WebReply WebSessions::Download(const std::string& id, const WebParams& params) {
  return With(id, [&](Session& session) {
    const std::optional<int> number = ViewNumber(params);
    const auto found = number ? session.views.find(*number) : session.views.end();
    if (found == session.views.end()) return JsonError(404, "no such window in this session");
    const std::string format = Param(params, "format");
    const std::string offered = "," + found->second->Formats() + ",";
    if (format.empty() || format.find(',') != std::string::npos || offered.find("," + format + ",") == std::string::npos) {
      return JsonError(400, "this window exports " + (offered.size() > 2 ? found->second->Formats() : "nothing"));
    }
    const std::string path = context_.downloads + "/export-" + std::to_string(++next_download_) + "." + format;
    const std::string error = found->second->Export(path);
    if (!error.empty()) return JsonError(422, error);
    WebReply reply{200, ReadFile(path), "", ""};
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    reply.type = format == "csv" ? "text/csv; charset=GBK"
                                 : "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
    reply.filename = "orbe-" + std::to_string(*number) + "." + format;
    return reply;
  });
}

WebReply WebSessions::End(const std::string& id) {
  const auto found = sessions_.find(id);
  if (found == sessions_.end()) return JsonError(404, "no such session");
  Session& session = *found->second;
  if (session.busy > 0) {
    // A dialog or menu of this tab waits on the stack: end them, and the
    // session goes once its jobs have unwound.
    session.ending = true;
    session.menu_answered = true;
    for (auto& [number, view] : session.views) view->CloseDialog();
    return JsonOk("\"pending\":true");
  }
  Destroy(id);
  return JsonOk();
}

void WebSessions::Destroy(std::string id) {
  const auto found = sessions_.find(id);
  if (found == sessions_.end()) return;
  std::unique_ptr<Session> session = std::move(found->second);
  sessions_.erase(found);
  // Dialogs first: they belong to the windows below.
  for (auto& [number, view] : session->views) view->CloseDialog();
  session->views.clear();
  board_.EndSession(id);
}

void WebSessions::Render(const std::string& id, Session& session) {
  for (auto it = session.views.begin(); it != session.views.end();) {
    CWnd* root = it->second->Root();
    if (root == nullptr || !::IsWindow(root->GetSafeHwnd())) {
      board_.Publish(id, it->first, ViewSnapshot{"", "", "", "", false, true});
      it = session.views.erase(it);
      continue;
    }
    board_.Publish(id, it->first,
                   ViewSnapshot{it->second->Title(), it->second->Status(), RenderWindowLive(*root),
                                it->second->Formats(), it->second->IsDialog(), false});
    ++it;
  }
}

void WebSessions::Refresh() {
  std::vector<std::string> gone;
  for (auto& [id, session] : sessions_) {
    if (session->busy > 0) {
      Render(id, *session);
      continue;
    }
    const auto activity = board_.Activity(id);
    const bool closed = activity && activity->second == 0 && activity->first > limits_.gone_seconds;
    if (!activity || closed || activity->first > limits_.idle_seconds) {
      gone.push_back(id);
    } else {
      Render(id, *session);
    }
  }
  for (const std::string& id : gone) Destroy(id);
}

void WebSessions::NoticeCurrent(const std::string& json) {
  if (!current_.empty()) {
    board_.Notice(current_, json);
    return;
  }
  for (const auto& [id, session] : sessions_) board_.Notice(id, json);
}

UINT WebSessions::Menu(const PopupMenuRequest& request) {
  const std::string id = current_;
  Session* session = Find(id);
  if (session == nullptr || session->menu_open) return 0;
  session->menu_open = true;
  session->menu_answered = false;
  session->menu_choice = 0;
  board_.SetMenu(id, "{\"items\":" + MenuItemsJson(request.items) + "}");
  // The menu blocks its caller as a platform menu does; the page's pick
  // arrives as a job while this loop pumps.
  PumpUntil([&] { return session->menu_answered || session->ending; }, kMenuWaitMs);
  session->menu_open = false;
  board_.SetMenu(id, "");
  return session->ending ? 0 : session->menu_choice;
}

void WebSessions::ShowDialog(CDialog& dialog) {
  Session* session = Find(current_);
  if (session == nullptr || session->views.size() >= limits_.views) {
    dialog.EndDialog(IDCANCEL);  // nobody is there to answer it
    return;
  }
  const int number = session->next_view++;
  session->views[number] = DialogView(dialog);
  Render(current_, *session);
}

}  // namespace orbe::terminal
