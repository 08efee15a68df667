// SPDX-License-Identifier: MIT
// Start-up benchmark: the time from exec to a program's top-level window being mapped, taken
// from the X server's MapNotify event, and its resident memory once shown; run against xlogo
// and xcalc on the same X server, with and without a GNOME-like desktop in the environment.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kDefaultRuns = 15;
constexpr milliseconds kMapTimeout{10000};
// Once mapped, a program still paints its first frame; resident memory is read when its CPU
// time has stopped growing for this long (or after kSettleLimit at most).
constexpr milliseconds kIdleSpan{60};
constexpr milliseconds kSettleLimit{2000};

struct Program {
  std::string label;
  std::string path;
  bool quiet = false;   // its error output is dropped
  bool judged = false;  // the start-up targets apply to it: the build's program or one named
};

struct Sample {
  double map_ms;
  double rss_mb;
};

struct Desktop {
  const char* label;
  const char* xdg_current_desktop;  // null: the variable is unset
};

constexpr Desktop kDesktops[] = {
    {"XDG_CURRENT_DESKTOP unset", nullptr},
    {"XDG_CURRENT_DESKTOP=GNOME", "GNOME"},
};

template <typename T>
using XcbPtr = std::unique_ptr<T, decltype(&std::free)>;

class XServer {
 public:
  XServer() : connection_(xcb_connect(nullptr, nullptr)) {}
  ~XServer() { xcb_disconnect(connection_); }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Ok() const { return xcb_connection_has_error(connection_) == 0; }

  // Every window mapped as a child of the root (a top-level window without a window manager,
  // or a manager's frame) is reported from now on.
  void WatchRoot() {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    XcbPtr<xcb_generic_error_t> error(
        xcb_request_check(connection_, xcb_change_window_attributes_checked(
                                           connection_, root, XCB_CW_EVENT_MASK, &mask)),
        &std::free);
  }

  // Waits for the server to have handled everything sent so far, then drops pending events.
  void Settle() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
  }

  // The moment a top-level, not override-redirect window is mapped; nothing if none is before
  // the deadline or the child ends first.
  std::optional<Clock::time_point> WaitForMap(pid_t child, Clock::time_point deadline) {
    pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
    while (true) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const Clock::time_point now = Clock::now();
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
        std::free(event);
        if (mapped) return now;
      }
      if (!Ok() || waitpid(child, nullptr, WNOHANG) == child) return std::nullopt;
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return std::nullopt;
      fd.revents = 0;
      poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
    }
  }

 private:
  xcb_connection_t* connection_;
};

// A field of /proc/PID/status in kB, such as VmRSS.
std::optional<long> StatusKilobytes(pid_t pid, std::string_view field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) != 0 || line.size() <= field.size() || line[field.size()] != ':')
      continue;
    const char* begin = line.c_str() + field.size() + 1;
    while (*begin == ' ' || *begin == '\t') ++begin;
    long value = 0;
    if (std::from_chars(begin, line.c_str() + line.size(), value).ec == std::errc()) return value;
  }
  return std::nullopt;
}

// User plus system CPU time in clock ticks, from /proc/PID/stat.
long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold spaces and parentheses; the fields after it are plain.
  const auto close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::vector<long> fields;
  const char* p = text.c_str() + close + 2;
  const char* end = text.c_str() + text.size();
  while (p < end && fields.size() < 15) {
    const char* space = std::find(p, end, ' ');
    long value = 0;
    std::from_chars(p, space, value);
    fields.push_back(value);
    p = space + 1;
  }
  // Fields 14 and 15 of the line (utime, stime) are 11 and 12 after the command name.
  return fields.size() >= 13 ? fields[11] + fields[12] : -1;
}

void WaitUntilIdle(pid_t pid) {
  const Clock::time_point limit = Clock::now() + kSettleLimit;
  long last = CpuTicks(pid);
  while (Clock::now() < limit) {
    std::this_thread::sleep_for(kIdleSpan);
    const long now = CpuTicks(pid);
    if (now == last) return;
    last = now;
  }
}

std::optional<Sample> RunOnce(XServer& server, const Program& program, const Desktop& desktop) {
  server.Settle();
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    if (desktop.xdg_current_desktop) {
      setenv("XDG_CURRENT_DESKTOP", desktop.xdg_current_desktop, 1);
    } else {
      unsetenv("XDG_CURRENT_DESKTOP");
    }
    if (program.quiet) {
      // xlogo and xcalc warn about bitmaps their resources name; nothing to do with timing.
      const int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, STDERR_FILENO);
    }
    execlp(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const std::optional<Clock::time_point> mapped =
      server.WaitForMap(child, Clock::now() + kMapTimeout);
  std::optional<Sample> sample;
  if (mapped) {
    WaitUntilIdle(child);
    const long rss_kb = StatusKilobytes(child, "VmRSS").value_or(0);
    sample = Sample{std::chrono::duration<double, std::milli>(*mapped - start).count(),
                    static_cast<double>(rss_kb) / 1024.0};
  }
  kill(child, SIGKILL);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return sample;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Summary {
  double min_ms;
  double median_ms;
  double median_rss_mb;
  std::size_t failures;
};

Summary Summarise(const std::vector<Sample>& samples, std::size_t failures) {
  std::vector<double> times;
  std::vector<double> rss;
  for (const Sample& s : samples) {
    times.push_back(s.map_ms);
    rss.push_back(s.rss_mb);
  }
  if (times.empty()) return {0, 0, 0, failures};
  return {*std::min_element(times.begin(), times.end()), Median(times), Median(rss), failures};
}

bool RunDesktop(XServer& server, const std::vector<Program>& programs, const Desktop& desktop,
                int runs) {
  // One unmeasured start each, so that every program starts from a warm page cache.
  for (const Program& program : programs) RunOnce(server, program, desktop);

  std::vector<std::vector<Sample>> samples(programs.size());
  std::vector<std::size_t> failures(programs.size());
  for (int run = 0; run < runs; ++run) {
    // The order turns each run, so that no program always follows the same one.
    for (std::size_t k = 0; k < programs.size(); ++k) {
      const std::size_t i = (k + static_cast<std::size_t>(run)) % programs.size();
      if (auto sample = RunOnce(server, programs[i], desktop)) {
        samples[i].push_back(*sample);
      } else {
        ++failures[i];
      }
    }
  }

  std::vector<Summary> summaries;
  for (std::size_t i = 0; i < programs.size(); ++i)
    summaries.push_back(Summarise(samples[i], failures[i]));
  // Ratios are to the reference programs, which are always the last two: xlogo, then xcalc.
  const Summary& xlogo = summaries[programs.size() - 2];
  const Summary& xcalc = summaries[programs.size() - 1];

  std::printf("\n%s, %d runs each (exec to MapNotify; resident memory once idle)\n", desktop.label,
              runs);
  std::printf("%-10s %9s %11s %8s %13s %13s\n", "program", "min ms", "median ms", "RSS MB",
              "median/xcalc", "median/xlogo");
  bool all_ran = true;
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const Summary& s = summaries[i];
    if (s.failures == static_cast<std::size_t>(runs)) {
      std::printf("%-10s FAILED: no window in any of its %d runs\n", programs[i].label.c_str(),
                  runs);
      all_ran = false;
      continue;
    }
    std::printf("%-10s %9.1f %11.1f %8.1f %13.2f %13.2f", programs[i].label.c_str(), s.min_ms,
                s.median_ms, s.median_rss_mb,
                xcalc.failures == 0 ? s.median_ms / xcalc.median_ms : 0,
                xlogo.failures == 0 ? s.median_ms / xlogo.median_ms : 0);
    if (s.failures) std::printf("   FAILED: %zu of %d runs showed no window", s.failures, runs);
    std::printf("\n");
    all_ran = all_ran && s.failures == 0;
  }
  // The targets are the program's: a median at or below xcalc's, at most 30 MB resident. They
  // are judged only on complete runs of both, as a program that shows no window meets nothing.
  for (std::size_t i = 0; i < programs.size(); ++i) {
    if (!programs[i].judged) continue;
    const Summary& s = summaries[i];
    std::printf("targets for %s (%s): ", programs[i].label.c_str(), programs[i].path.c_str());
    if (s.failures || xcalc.failures) {
      const bool ours = s.failures != 0;
      std::printf("not judged: %s showed no window in %zu of %d runs\n",
                  ours ? programs[i].label.c_str() : "xcalc", ours ? s.failures : xcalc.failures,
                  runs);
      continue;
    }
    std::printf("median at or below xcalc's: %s; resident memory at most 30 MB: %s\n",
                s.median_ms <= xcalc.median_ms ? "met" : "not met",
                s.median_rss_mb <= 30.0 ? "met" : "not met");
  }
  return all_ran;
}

void Usage(const char* self) {
  std::fprintf(stderr,
               "usage: %s [--runs N] [--program [LABEL=]PATH]...\n"
               "Times the programs (unless given: the build's qup, and Qt started the same way\n"
               "with one label and with none) against xlogo and xcalc. The targets (a median at\n"
               "or below xcalc's, at most 30 MB resident) are judged for each program given,\n"
               "or for the build's qup. A program that shows no window fails the run.\n"
               "Run on an X server without a window manager, e.g. under xvfb-run -a.\n",
               self);
}

}  // namespace

int main(int argc, char* argv[]) {
  int runs = kDefaultRuns;
  std::vector<Program> programs;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      const std::string_view value = argv[++i];
      if (std::from_chars(value.data(), value.data() + value.size(), runs).ec != std::errc() ||
          runs < 1) {
        Usage(argv[0]);
        return 2;
      }
    } else if (arg == "--program" && i + 1 < argc) {
      // Several builds may be compared in one run, each under a label of its own.
      const std::string_view value = argv[++i];
      const auto equals = value.find('=');
      const auto slash = value.rfind('/');
      programs.push_back(
          equals != std::string_view::npos
              ? Program{std::string(value.substr(0, equals)), std::string(value.substr(equals + 1)),
                        false, true}
              : Program{std::string(value.substr(slash == std::string_view::npos ? 0 : slash + 1)),
                        std::string(value), false, true});
      // A path that names no program would only show no window in every run; say so at once.
      const std::string& path = programs.back().path;
      if (path.find('/') != std::string::npos && access(path.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "%s: %s: %s is not a program that can be run (%s)\n", argv[0],
                     programs.back().label.c_str(), path.c_str(), std::strerror(errno));
        return 1;
      }
    } else {
      Usage(argv[0]);
      return 2;
    }
  }

  XServer server;
  if (!server.Ok()) {
    std::fprintf(stderr, "%s: cannot open the X display (DISPLAY=%s)\n", argv[0],
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
    return 1;
  }
  server.WatchRoot();

  // The program must not read or write the user's own settings.
  char config_home[] = "/tmp/qup-bench-XXXXXX";
  if (!mkdtemp(config_home)) {
    std::perror("mkdtemp");
    return 1;
  }
  setenv("XDG_CONFIG_HOME", config_home, 1);
  // A desktop session has a private runtime folder; without one Qt warns on every start.
  char runtime_dir[] = "/tmp/qup-bench-runtime-XXXXXX";
  const bool own_runtime_dir = !std::getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime_dir);
  if (own_runtime_dir) setenv("XDG_RUNTIME_DIR", runtime_dir, 1);

  if (programs.empty()) {
    programs.push_back({"qup", QUP_PROGRAM_PATH, false, true});
    programs.push_back({"qt-text", QUP_FLOOR_TEXT_PATH});
    programs.push_back({"qt-empty", QUP_FLOOR_EMPTY_PATH});
  }
  programs.push_back({"xlogo", "xlogo", true});
  programs.push_back({"xcalc", "xcalc", true});
  bool all_ran = true;
  for (const Desktop& desktop : kDesktops)
    all_ran = RunDesktop(server, programs, desktop, runs) && all_ran;

  std::string settings_dir = std::string(config_home) + "/Kestrane";
  std::remove((settings_dir + "/QU.reg").c_str());
  rmdir(settings_dir.c_str());
  rmdir(config_home);
  if (own_runtime_dir) rmdir(runtime_dir);
  if (!all_ran) {
    std::fprintf(stderr, "%s: FAILED: a program showed no window (see above)\n", argv[0]);
    return 1;
  }
  return 0;
}
