// SPDX-License-Identifier: MIT
// qup-suggestion-server: the operator's web server stood in for on 127.0.0.1, for the
// transcripts. It hands qup-drive its script with the ports filled in, answers each connection
// as told, and logs the exact bytes it received.
//
//   qup-suggestion-server SCRIPT LOG ANSWER...
//
// The script goes to standard output with @PORT@ replaced by the server's port and @REFUSED@ by
// a port on which nothing listens. The n-th connection gets the n-th ANSWER:
//   ok      "HTTP/1.1 200 OK" and a short page, then the server closes
//   late    a first packet without the status, the status only in a second one
//   old     "HTTP/1.0 200 OK"
//   close   nothing: the server closes at once
// Once every answer is given (or after a minute), the server ends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kRequestSize = 1280;
constexpr auto kLongestRun = std::chrono::seconds(60);

int BindLoopback(std::uint16_t& port) {
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (descriptor < 0 ||
      ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
      ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    std::perror("qup-suggestion-server: bind");
    std::exit(2);
  }
  port = ntohs(address.sin_port);
  return descriptor;
}

bool Readable(int descriptor, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return false;
  pollfd entry{descriptor, POLLIN, 0};
  return ::poll(&entry, 1, static_cast<int>(left.count())) > 0;
}

void SendText(int connection, std::string_view text) {
  ::send(connection, text.data(), text.size(), MSG_NOSIGNAL);
}

// Bytes as a quoted text a reader can check: escapes for line ends, quotes, backslashes and
// every other byte outside printable ASCII.
std::string Quoted(std::string_view bytes) {
  std::string quoted = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

// One line for what a connection brought: its size, its text up to the first zero byte, and
// what follows that.
std::string Describe(std::string_view received) {
  std::ostringstream line;
  line << "request " << received.size() << " bytes: ";
  const std::size_t zero = received.find('\0');
  line << Quoted(received.substr(0, zero));
  if (zero != std::string_view::npos) {
    const std::string_view rest = received.substr(zero);
    const bool all_zero = rest.find_first_not_of('\0') == std::string_view::npos;
    line << ", then " << rest.size() << (all_zero ? " zero bytes" : " bytes, not all zero");
  }
  return line.str();
}

// Serves one connection: reads the request, answers, and reads on until the client closes.
std::string Serve(int connection, std::string_view answer, Clock::time_point deadline) {
  std::string received;
  char chunk[2048];
  const auto read_some = [&] {
    if (!Readable(connection, deadline)) return false;
    const ssize_t count = ::recv(connection, chunk, sizeof chunk, 0);
    if (count > 0) received.append(chunk, static_cast<std::size_t>(count));
    return count > 0;
  };
  while (received.size() < kRequestSize && read_some()) {
  }

  if (answer == "ok") {
    SendText(connection, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>Thank you</p>");
  } else if (answer == "old") {
    SendText(connection, "HTTP/1.0 200 OK\r\n\r\n");
  } else if (answer == "late") {
    SendText(connection, "HTTP/1.1 100 Continue\r\n\r\n");
  }
  if (answer != "late") ::shutdown(connection, SHUT_WR);
  while (read_some()) {
  }
  // The status comes once the client has stopped reading: too late for its one receive.
  if (answer == "late") SendText(connection, "HTTP/1.1 200 OK\r\n\r\n");
  return Describe(received);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::cerr << "usage: qup-suggestion-server SCRIPT LOG ANSWER...\n";
    return 2;
  }
  const std::vector<std::string> answers(argv + 3, argv + argc);
  for (const std::string& answer : answers) {
    if (answer != "ok" && answer != "late" && answer != "old" && answer != "close") {
      std::cerr << "qup-suggestion-server: unknown answer " << answer << "\n";
      return 2;
    }
  }

  std::uint16_t port = 0;
  std::uint16_t refused_port = 0;
  const int listener = BindLoopback(port);
  const int refusing = BindLoopback(refused_port);  // bound, never listening: refuses
  ::listen(listener, 4);

  std::ifstream script_file(argv[1]);
  std::stringstream script;
  script << script_file.rdbuf();
  std::string text = script.str();
  for (const auto& [mark, value] :
       {std::pair<std::string, std::uint16_t>{"@PORT@", port},
        std::pair<std::string, std::uint16_t>{"@REFUSED@", refused_port}}) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
      text.replace(at, mark.size(), std::to_string(value));
    }
  }
  std::cout << text << std::flush;
  ::close(STDOUT_FILENO);  // the driver's input ends with the script

  std::ofstream log(argv[2]);
  const auto deadline = Clock::now() + kLongestRun;
  std::size_t served = 0;
  for (; served < answers.size() && Readable(listener, deadline); ++served) {
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) break;
    log << Serve(connection, answers[served], deadline) << "\n" << std::flush;
    ::close(connection);
  }
  if (served < answers.size()) {
    log << "waited for " << answers.size() << " connections, got " << served << "\n";
  }
  ::close(refusing);
  ::close(listener);
  return 0;
}
