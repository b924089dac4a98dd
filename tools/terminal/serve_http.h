// The HTTP side of `orbe-terminal serve`: the start page, its scripts, and
// the API the page calls. Handlers run on the server's threads and reach
// the windows only through the window thread's queue and the snapshots.
#ifndef ORBE_TOOLS_TERMINAL_SERVE_HTTP_H_
#define ORBE_TOOLS_TERMINAL_SERVE_HTTP_H_

#include <memory>
#include <string>
#include <thread>

#include "serve_bridge.h"
#include "serve_sessions.h"

namespace httplib {
class Server;
}

namespace orbe::terminal {

class WebServer {
 public:
  // `features` is the start page's JSON: what it offers to open.
  WebServer(WindowThreadQueue& queue, SnapshotBoard& board, WebSessions& sessions, std::string features);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds (port 0: a free one); false with *error.
  bool Bind(const std::string& address, int port, std::string* error);
  int Port() const { return port_; }
  // Serves on a thread of its own until Stop.
  void Start();
  void Stop();

 private:
  void Route();

  WindowThreadQueue& queue_;
  SnapshotBoard& board_;
  WebSessions& sessions_;
  const std::string features_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
};

// The page and its script, as served.
const std::string& StartPageHtml();
const std::string& StartPageScript();

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SERVE_HTTP_H_
