// A web server on 127.0.0.1 that plays an online server's part: each path answers what the test
// scripted, and every request is kept for the test to read.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace tessik {

struct ScriptedAnswer {
  enum class End {
    Whole,   // the body, then the answer ends cleanly
    CutOff,  // the body, then the connection closes in the middle of the answer
    // The body, then its last line (after its last line feed) until the client gives up; a body
    // that ends with a line feed then stalls, a line feed now and then and nothing else.
    Endless,
  };
  ScriptedAnswer(int status, std::string body, End end = End::Whole,
                 std::string type = "application/x-chess-pgn",
                 std::multimap<std::string, std::string> headers = {})
      : status(status),
        body(std::move(body)),
        end(end),
        type(std::move(type)),
        headers(std::move(headers)) {}

  int status;
  std::string body;
  End end;
  std::string type;  // JSON and text come compressed when asked
  std::multimap<std::string, std::string> headers;
};

struct RecordedRequest {
  std::string path;                                 // without the query
  std::string target;                               // the path with its query, as sent
  std::multimap<std::string, std::string> headers;  // names in lower case
  // The value of the header name (in lower case); empty when it was not sent.
  std::string Header(const std::string& name) const;
};

class ReplayServer {
 public:
  ReplayServer();  // listening at once, on a free port
  ~ReplayServer();
  ReplayServer(const ReplayServer&) = delete;
  ReplayServer& operator=(const ReplayServer&) = delete;

  // "http://127.0.0.1:PORT"
  std::string Url() const;
  // Answers path with answers in turn, the last one from then on; an unscripted path is a 404.
  void Script(const std::string& path, std::vector<ScriptedAnswer> answers);
  std::vector<RecordedRequest> Requests() const;

 private:
  struct Route {
    std::vector<ScriptedAnswer> answers;
    size_t next = 0;
  };
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;  // guards what follows: the server's threads answer
  std::map<std::string, Route> routes_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace tessik
