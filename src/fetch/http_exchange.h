// One HTTP GET over libcurl: the only way the downloads talk to a server. Certificates are
// checked, the answer may come compressed, libcurl's proxy variables hold, and a server that
// stalls ends the transfer instead of holding it forever.
#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace tessik {

struct HttpAnswer {
  long status = 0;                 // the answer's HTTP status; 0 when none came
  std::string etag, lastModified;  // its validators, when it gave printable ones
  std::string failure;             // libcurl's words when the transfer did not end cleanly
  bool stopped = false;            // stop was asked for before the transfer ended
};

// Gets url with the extra header lines ("Name: value"). The body of a 200 answer goes to body
// as it arrives, decompressed; body returns false to stop the transfer (failure then says so).
// Other answers' bodies are dropped, and stopped after a few KB. An exception thrown by body
// ends the transfer and is thrown on from here. A stop asked for on stop ends the transfer
// within about a second, waiting for a connection or for bytes alike.
HttpAnswer HttpGet(const std::string& url, const std::vector<std::string>& headers,
                   const std::function<bool(std::string_view)>& body,
                   const std::stop_token& stop = {});

}  // namespace tessik
