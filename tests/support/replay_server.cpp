#include "support/replay_server.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "base/text.h"

namespace tessik {

std::string RecordedRequest::Header(const std::string& name) const {
  const auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

ReplayServer::ReplayServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    ScriptedAnswer answer{
        404, "{\"message\":\"no such page\"}", ScriptedAnswer::End::Whole, "application/json", {}};
    {
      std::lock_guard lock(mutex_);
      RecordedRequest& recorded = requests_.emplace_back();
      recorded.path = request.path;
      recorded.target = request.target;
      for (const auto& [name, value] : request.headers) {
        recorded.headers.emplace(FoldedCase(name), value);
      }
      const auto route = routes_.find(request.path);
      if (route != routes_.end() && !route->second.answers.empty()) {
        Route& r = route->second;
        answer = r.answers[std::min(r.next++, r.answers.size() - 1)];
      }
    }
    response.status = answer.status;
    for (const auto& [name, value] : answer.headers) response.set_header(name, value);
    if (answer.end == ScriptedAnswer::End::Whole) {
      response.set_content(answer.body, answer.type.c_str());
      return;
    }
    const bool endless = answer.end == ScriptedAnswer::End::Endless;
    const std::string last = answer.body.substr(answer.body.rfind('\n') + 1);
    const bool stall = last.empty();
    response.set_chunked_content_provider(
        answer.type, [body = answer.body, again = stall ? "\n" : last, endless, stall](
                         size_t offset, httplib::DataSink& sink) {
          if (offset != 0 && stall) std::this_thread::sleep_for(std::chrono::milliseconds(20));
          const std::string& part = offset == 0 ? body : again;
          // Returning false closes the connection without the answer's last chunk.
          return sink.write(part.data(), part.size()) && endless;
        });
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the replaying server found no port on 127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // Stopping works only once the server runs: a test that ends at once must not find it starting.
  while (!server_->is_running()) std::this_thread::yield();
}

ReplayServer::~ReplayServer() {
  server_->stop();
  thread_.join();
}

std::string ReplayServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

void ReplayServer::Script(const std::string& path, std::vector<ScriptedAnswer> answers) {
  std::lock_guard lock(mutex_);
  routes_[path] = {std::move(answers), 0};
}

std::vector<RecordedRequest> ReplayServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

}  // namespace tessik
