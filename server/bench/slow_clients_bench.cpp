// SPDX-License-Identifier: MIT
// Clients that hold connections open by trickling (headers, or a body) from many loopback
// addresses at once, while one well-behaved client posts and reads every 0.2 s: how many of
// its requests are answered. Bounded: 60 new connections a second for 20 s per kind.
//   qup_slow_clients_bench [SECONDS [PER_SECOND [ADDRESSES]]]   (default 20, 60, 64)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "server/tests/support/server_harness.h"

namespace {

using namespace qup::server;
using Clock = std::chrono::steady_clock;

int Argument(int argc, char** argv, int index, int fallback, int most) {
  if (argc <= index) return fallback;
  const std::string_view text = argv[index];
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return fallback;
  return value > 0 && value <= most ? value : fallback;
}

// A connection from 127.0.1.N (only loopback), or -1.
int Connect(std::uint16_t port, int n) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in source{};
  source.sin_family = AF_INET;
  source.sin_addr.s_addr = htonl(0x7F000100u + static_cast<std::uint32_t>(n));
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
      connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

struct Trickler {
  int fd;
  Clock::time_point next;
};

// Opens per_second connections a second from addresses 127.0.1.1 and up for seconds, each
// sending the start of a request and then a little every 5 s, as slow attack tools do; closes
// those the server closes, and the rest at the end.
void Trickle(std::uint16_t port, bool slow_body, int seconds, int per_second, int addresses) {
  const std::string_view opening = slow_body ? "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\n"
                                               "Content-Length: 1000\r\n\r\ntext="
                                             : "GET / HTTP/1.1\r\nHost: x\r\n";
  const std::string_view more = slow_body ? "a" : "X-a: b\r\n";
  std::vector<Trickler> open;
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + std::chrono::seconds(seconds);
  int opened = 0;
  while (Clock::now() < end) {
    const double due = std::chrono::duration<double>(Clock::now() - start).count() * per_second;
    while (opened < due) {
      const int fd = Connect(port, 1 + opened % addresses);
      ++opened;
      if (fd < 0) continue;
      send(fd, opening.data(), opening.size(), MSG_NOSIGNAL);
      open.push_back({fd, Clock::now() + std::chrono::seconds(5)});
    }
    std::vector<pollfd> watch;
    watch.reserve(open.size());
    for (const Trickler& trickler : open) watch.push_back({trickler.fd, POLLIN, 0});
    poll(watch.data(), watch.size(), 5);
    std::vector<Trickler> still;
    still.reserve(open.size());
    for (std::size_t i = 0; i < open.size(); ++i) {
      char scratch[4096];
      if ((watch[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
          recv(open[i].fd, scratch, sizeof scratch, MSG_DONTWAIT) <= 0) {
        close(open[i].fd);
        continue;
      }
      if (Clock::now() >= open[i].next) {
        send(open[i].fd, more.data(), more.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        open[i].next += std::chrono::seconds(5);
      }
      still.push_back(open[i]);
    }
    open = std::move(still);
  }
  for (const Trickler& trickler : open) close(trickler.fd);
}

// While the tricklers run: a post, then a view page, every 0.2 s from 127.0.0.1.
void Measure(std::uint16_t port, bool slow_body, int seconds, int per_second, int addresses) {
  std::atomic<bool> attacking = true;
  std::thread attack([&] {
    Trickle(port, slow_body, seconds, per_second, addresses);
    attacking = false;
  });
  int asked = 0;
  int answered = 0;
  for (Clock::time_point next = Clock::now(); attacking; next += std::chrono::milliseconds(200)) {
    std::this_thread::sleep_until(next);
    const bool post = asked % 2 == 0;
    ++asked;
    if (post ? testing::PostAsProgram(port, "bystander")
             : testing::FetchPage(port, "/ViewInfo.asp").find("<h1>Suggestions</h1>") !=
                   std::string::npos) {
      ++answered;
    }
  }
  attack.join();
  std::printf(
      "%s from %d addresses, %d new connections a second for %d s: bystander answered "
      "%d of %d (%.1f%%)\n",
      slow_body ? "slow body" : "slow headers", addresses, per_second, seconds, answered, asked,
      asked > 0 ? 100.0 * answered / asked : 0);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = Argument(argc, argv, 1, 20, 120);
  const int per_second = Argument(argc, argv, 2, 60, 200);
  const int addresses = Argument(argc, argv, 3, 64, 250);
  // Every trickler may stay open up to the server's time-out: room for their descriptors.
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);

  const testing::ScratchFolder folder;
  // The server's defaults, but for the bystander's posts, which are more than one address may
  // post in an hour.
  testing::ServerProcess server(folder.path() / "bench.db", folder.path() / "server.log",
                                {"--post-limit", "0"});
  if (!server.WaitUntilListening()) {
    std::fprintf(stderr, "the server did not start:\n%s",
                 testing::ReadFile(folder.path() / "server.log").c_str());
    return 1;
  }
  Measure(server.port(), false, seconds, per_second, addresses);
  std::this_thread::sleep_for(std::chrono::seconds(11));  // the last tricklers time out
  Measure(server.port(), true, seconds, per_second, addresses);
  return 0;
}
