// The browser sessions of `orbe-terminal serve` on the window thread: one per
// tab, each with the windows it opened, rendered after every action and on a
// short tick, and destroyed when the tab goes or has been idle too long.
#ifndef ORBE_TOOLS_TERMINAL_SERVE_SESSIONS_H_
#define ORBE_TOOLS_TERMINAL_SERVE_SESSIONS_H_

#include <map>
#include <memory>
#include <string>

#include "orbe/platform/dialog.h"
#include "orbe/platform/menu.h"
#include "serve_bridge.h"
#include "serve_views.h"

namespace orbe::terminal {

struct SessionLimits {
  int idle_seconds = 1800;    // no request and no open page for this long
  int gone_seconds = 15;      // the page's stream closed for this long
  std::size_t sessions = 32;  // at most this many at once
  std::size_t views = 16;     // windows per session
};

class WebSessions {
 public:
  // Installs the handlers of message boxes, dialogs, pop-up menus and
  // documents opened for the whole process; removes them when destroyed.
  WebSessions(const ServeContext& context, SnapshotBoard& board, SessionLimits limits);
  ~WebSessions();
  WebSessions(const WebSessions&) = delete;
  WebSessions& operator=(const WebSessions&) = delete;

  // Every function is for the window thread; the replies go to the page.
  WebReply Create();
  WebReply Open(const std::string& session, const WebParams& params);
  WebReply Act(const std::string& session, const WebParams& params);
  WebReply Close(const std::string& session, const WebParams& params);
  WebReply PickMenu(const std::string& session, const WebParams& params);
  WebReply Download(const std::string& session, const WebParams& params);
  WebReply End(const std::string& session);
  // Renders what changed and ends the sessions whose page has gone.
  void Refresh();
  std::size_t Count() const { return sessions_.size(); }

 private:
  struct Session;
  Session* Find(const std::string& id);
  // The job runs with the session marked busy; a session ended meanwhile
  // is destroyed after it.
  WebReply With(const std::string& id, const std::function<WebReply(Session&)>& job);
  void Render(const std::string& id, Session& session);
  void Destroy(std::string id);  // a copy: callers pass keys of the map it erases from
  void NoticeCurrent(const std::string& json);
  UINT Menu(const PopupMenuRequest& request);
  void ShowDialog(CDialog& dialog);

  const ServeContext& context_;
  SnapshotBoard& board_;
  const SessionLimits limits_;
  std::map<std::string, std::unique_ptr<Session>> sessions_;
  std::string current_;  // the session whose job runs now
  int next_download_ = 0;
};

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SERVE_SESSIONS_H_
