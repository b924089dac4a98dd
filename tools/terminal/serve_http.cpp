#include "serve_http.h"

#include <httplib.h>
#include <sys/socket.h>

namespace orbe::terminal {
namespace {

constexpr std::size_t kBodyLimit = 64 * 1024;
constexpr int kActionWaitMs = 3000;     // then 202: the action opened a dialog or menu
constexpr int kDownloadWaitMs = 120000; // an export of a large grid
constexpr int kStreamTickMs = 10000;    // a comment line keeps the stream alive
constexpr std::size_t kHttpThreads = 32;
constexpr int kListenBacklog = 512;
constexpr const char kSessionPath[] = "/api/s/([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})/";

void Send(httplib::Response& response, const WebReply& reply) {
  response.status = reply.status;
  if (!reply.filename.empty()) {
    response.set_header("Content-Disposition", "attachment; filename=\"" + reply.filename + "\"");
  }
  response.set_header("Cache-Control", "no-store");
  response.set_content(reply.body, reply.type.c_str());
}

WebParams FormFields(const httplib::Request& request) {
  httplib::Params fields;
  httplib::detail::parse_query_text(request.body, fields);
  WebParams params(fields.begin(), fields.end());
  for (const auto& [name, value] : request.params) params.emplace(name, value);
  return params;
}

}  // namespace

WebServer::WebServer(WindowThreadQueue& queue, SnapshotBoard& board, WebSessions& sessions, std::string features)
    : queue_(queue), board_(board), sessions_(sessions), features_(std::move(features)),
      server_(std::make_unique<httplib::Server>()) {
  server_->new_task_queue = [] { return new httplib::ThreadPool(kHttpThreads); };
  server_->set_payload_max_length(kBodyLimit);
  Route();
}

WebServer::~WebServer() { Stop(); }

bool WebServer::Bind(const std::string& address, int port, std::string* error) {
  // The library listens with a backlog of 5: a page's burst of requests would
  // be refused. Linux takes a second listen() on the socket as the new backlog.
  int socket = -1;
  server_->set_socket_options([&socket](socket_t made) {
    httplib::default_socket_options(made);
    socket = made;
  });
  port_ = port == 0 ? server_->bind_to_any_port(address) : (server_->bind_to_port(address, port) ? port : -1);
  if (port_ <= 0) {
    *error = "cannot listen on " + address + ":" + std::to_string(port);
    return false;
  }
  if (socket >= 0) ::listen(socket, kListenBacklog);
  return true;
}

void WebServer::Start() {
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void WebServer::Stop() {
  board_.WakeAll();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

void WebServer::Route() {
  httplib::Server& http = *server_;
  http.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(StartPageHtml(), "text/html; charset=utf-8");
  });
  http.Get("/favicon.ico", [](const httplib::Request&, httplib::Response& response) { response.status = 204; });
  http.Get("/app.js", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(StartPageScript(), "text/javascript; charset=utf-8");
  });
  http.Get("/api/features", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(features_, "application/json");
  });
  http.Post("/api/session", [this](const httplib::Request&, httplib::Response& response) {
    Send(response, queue_.Run([this] { return sessions_.Create(); }, kActionWaitMs));
  });
  // The actions on a session's windows, each one job on the window thread.
  using Action = WebReply (WebSessions::*)(const std::string&, const WebParams&);
  static const std::pair<const char*, Action> kActions[] = {
      {"open", &WebSessions::Open},  {"act", &WebSessions::Act},       {"close", &WebSessions::Close},
      {"menu", &WebSessions::PickMenu},
  };
  for (const auto& [name, action] : kActions) {
    http.Post(std::string(kSessionPath) + name, [this, action = action](const httplib::Request& request,
                                                                        httplib::Response& response) {
      const std::string id = request.matches[1];
      WebParams params = FormFields(request);
      Send(response, queue_.Run([this, action, id, params] { return (sessions_.*action)(id, params); },
                                kActionWaitMs));
    });
  }
  http.Post(std::string(kSessionPath) + "end", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string id = request.matches[1];
    Send(response, queue_.Run([this, id] { return sessions_.End(id); }, kActionWaitMs));
  });
  http.Get(std::string(kSessionPath) + "download", [this](const httplib::Request& request,
                                                         httplib::Response& response) {
    const std::string id = request.matches[1];
    WebParams params(request.params.begin(), request.params.end());
    Send(response, queue_.Run([this, id, params] { return sessions_.Download(id, params); }, kDownloadWaitMs));
  });
  http.Get(std::string(kSessionPath) + "events", [this](const httplib::Request& request,
                                                       httplib::Response& response) {
    const std::string id = request.matches[1];
    if (!board_.HasSession(id)) {
      Send(response, JsonError(404, "no such session"));
      return;
    }
    board_.StreamOpened(id, 1);
    auto since = std::make_shared<std::uint64_t>(0);
    response.set_header("Cache-Control", "no-store");
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, id, since](std::size_t, httplib::DataSink& sink) {
          const std::optional<std::string> changes = board_.Changes(id, since.get(), kStreamTickMs);
          if (!changes) {
            const std::string end = "event: end\ndata: {}\n\n";
            sink.write(end.data(), end.size());
            sink.done();
            return true;
          }
          const std::string text = changes->empty() ? std::string(": tick\n\n") : *changes;
          return sink.write(text.data(), text.size());
        },
        [this, id](bool) { board_.StreamOpened(id, -1); });
  });
}

}  // namespace orbe::terminal
