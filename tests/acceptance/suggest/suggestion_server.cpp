// SPDX-License-Identifier: MIT
// qup-suggestion-server: the operator's web server stood in for on 127.0.0.1, for the
// transcripts. It hands qup-drive its script with the ports filled in, answers each connection
// as told, and logs the bytes it received, quoted as qup-drive quotes texts.
//
//   qup-suggestion-server SCRIPT LOG ANSWER...
//
// The script goes to standard output with @PORT@ replaced by the server's port and @REFUSED@ by
// a port on which nothing listens. The n-th connection gets the n-th ANSWER:
//   ok      "HTTP/1.1 200 OK" and a short page, then the server closes
//   late    a first packet without the status, and the status never: it would come only after
//           the client's one receive
//   old     "HTTP/1.0 200 OK"
//   close   nothing: the server closes at once
// Once every answer is given (or after a minute), the server ends.
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/drive/quoted_text.h"
#include "tests/suggest/local_server.h"

namespace {

using qup::suggest::testing::LocalServer;

const std::map<std::string, std::string, std::less<>> kReplies = {
    {"ok", "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>Thank you</p>"},
    {"late", "HTTP/1.1 100 Continue\r\n\r\n"},
    {"old", "HTTP/1.0 200 OK\r\n\r\n"},
    {"close", ""},
};

// One line for what a connection brought: its size, its text up to the first zero byte, and
// what follows that.
std::string Describe(std::string_view received) {
  std::ostringstream line;
  line << "request " << received.size() << " bytes: ";
  const std::size_t zero = received.find('\0');
  line << qup::drive::Quoted(received.substr(0, zero));
  if (zero != std::string_view::npos) {
    const std::string_view rest = received.substr(zero);
    const bool all_zero = rest.find_first_not_of('\0') == std::string_view::npos;
    line << ", then " << rest.size() << (all_zero ? " zero bytes" : " bytes, not all zero");
  }
  return line.str();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::cerr << "usage: qup-suggestion-server SCRIPT LOG ANSWER...\n";
    return 2;
  }
  std::vector<std::string> replies;
  for (int i = 3; i < argc; ++i) {
    const auto found = kReplies.find(std::string_view(argv[i]));
    if (found == kReplies.end()) {
      std::cerr << "qup-suggestion-server: unknown answer " << argv[i] << "\n";
      return 2;
    }
    replies.push_back(found->second);
  }
  const std::size_t expected = replies.size();
  const LocalServer server(std::move(replies));
  const LocalServer refusing({}, LocalServer::Mode::kRefuse);

  std::ifstream script_file(argv[1]);
  std::stringstream script;
  script << script_file.rdbuf();
  std::string text = script.str();
  for (const auto& [mark, value] :
       {std::pair<std::string, std::uint16_t>{"@PORT@", server.port()},
        std::pair<std::string, std::uint16_t>{"@REFUSED@", refusing.port()}}) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
      text.replace(at, mark.size(), std::to_string(value));
    }
  }
  std::cout << text << std::flush;
  ::close(STDOUT_FILENO);  // the driver's input ends with the script

  std::ofstream log(argv[2]);
  const std::vector<std::string> requests = server.requests(expected, std::chrono::seconds(60));
  for (const std::string& request : requests) log << Describe(request) << "\n";
  if (requests.size() < expected) {
    log << "waited for " << expected << " connections, got " << requests.size() << "\n";
  }
  return 0;
}
