// SPDX-License-Identifier: MIT
// The suggestion server: takes the program's posts, stores them, and serves the pages.
#include "server/suggestion_server.h"

#include <utility>  // before Asio: its awaitable.hpp of Boost 1.74 uses std::exchange unincluded

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/redirect_error.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/http/span_body.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>

#include "server/commit_queue.h"
#include "server/form_text.h"
#include "server/html_pages.h"
#include "server/legacy_request.h"
#include "server/post_limiter.h"
#include "server/static_site.h"
#include "server/suggestion_store.h"

// GCC 12 optimising pairs the coroutine frames' own operator delete (Asio's awaitable frames
// bring their own new and delete) with the global operator new, and warns of a mismatch that
// is not there (a known false positive with coroutines).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace qup::server {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using asio::awaitable;
using Clock = std::chrono::steady_clock;

// Browsers send a few hundred bytes of headers; the body of a post is held to the program's
// bound. Anything larger is refused.
constexpr std::size_t kBrowserHeaderLimit = 4096;
constexpr std::size_t kBrowserBodyLimit = kLegacyRequestLimit;
// After the reply, what the client still sends (the rest of its filler) is read and dropped
// for a moment, so that closing does not reset the connection before the client reads.
constexpr auto kLingerTime = std::chrono::seconds(2);
constexpr std::size_t kLingerBytes = std::size_t{64} * 1024;
// A refused connection is read from too, more briefly: the client sends its request at once.
constexpr auto kRefusalLingerTime = std::chrono::seconds(1);
// Refused connections are logged once per address in this interval, the rest counted; at most
// this many addresses are followed, the others counted together.
constexpr auto kRefusalLogInterval = std::chrono::seconds(10);
constexpr std::size_t kRefusalLogAddresses = 1024;
constexpr const char* kOtherAddresses = "other addresses";
// Once the request line's time is up, a client must keep sending at this rate on average (from
// its connection) until its request is whole: a client that trickles a byte now and then to
// hold its slot is dropped long before the time-out. Any real client sends far faster.
constexpr double kMinimumBytesPerSecond = 100;
// With no slot free, a newcomer takes the slot of the connection that has sent least for its
// age, among those at least this old (a younger one may just not have been read yet).
constexpr auto kEvictableAge = std::chrono::seconds(1);

struct Reply {
  http::status status = http::status::ok;
  std::string body;
  bool head_only = false;
  bool html = false;
  const SiteFile* file = nullptr;  // set: the site's file is the body, with the site's policy
  bool closed = false;  // nothing to send: the stream closed the connection at its time-out
  bool logged = true;   // false: counted in a summary line instead
  Clock::duration linger = kLingerTime;  // how long what the client still sends is read
  std::chrono::seconds retry_after{0};   // when set, told to the client
};

Reply TextReply(http::status status, std::string body) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

Reply HtmlReply(http::status status, std::string page) {
  Reply reply;
  reply.status = status;
  reply.body = std::move(page);
  reply.html = true;
  return reply;
}

// A file of the web calculators, held by the server for as long as it runs.
Reply SiteReply(const SiteFile& file) {
  Reply reply;
  reply.file = &file;
  return reply;
}

// The client took too long: the stream has closed the connection already, and nothing is
// sent (nor logged as sent).
Reply TimedOut() {
  Reply reply;
  reply.closed = true;
  return reply;
}

Reply ErrorPage(http::status status) {
  return HtmlReply(status, RenderErrorPage(static_cast<int>(status),
                                           std::string(http::obsolete_reason(status))));
}

http::status StatusOf(LegacyRequest::Status status) {
  switch (status) {
    case LegacyRequest::Status::kNotFound:
      return http::status::not_found;
    case LegacyRequest::Status::kLengthRequired:
      return http::status::length_required;
    case LegacyRequest::Status::kTooLarge:
      return http::status::payload_too_large;
    default:
      return http::status::bad_request;
  }
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return beast::iequals(a, b); }

// On a dual-stack listener an IPv4 client shows as ::ffff:a.b.c.d. It is the same client as
// a.b.c.d, so it is compared with the trusted proxy, limited and stored as that.
asio::ip::address Unmapped(const asio::ip::address& address) {
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    return asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  }
  return address;
}

// "a.b.c.d:port", or "[v6]:port": an IPv6 address's last group is not taken for the port.
std::string WithPort(const asio::ip::address& address, unsigned short port) {
  const std::string text = address.to_string();
  return (address.is_v6() ? "[" + text + "]" : text) + ":" + std::to_string(port);
}

// How far a connection still reading its request has come, for its time-outs and for choosing
// which to drop when the server is full.
struct Progress {
  Clock::time_point start = Clock::now();
  Clock::time_point line_deadline;  // the request line's
  Clock::time_point deadline;       // the whole request's
  std::size_t received = 0;
  bool line_done = false;
  bool rate_bound = false;  // the next read's time-out is the minimum rate's
  bool too_slow = false;    // dropped for sending below the minimum rate
  bool evicted = false;     // dropped for a newcomer when the server was full
};

// What one connection did, for its log line.
struct Exchange {
  std::string peer_address;        // the client's: limited and stored with its suggestions
  std::string peer;                // for the log: the client, and the proxy it came through
  std::string connection_address;  // the socket's other end
  std::string request = "-";
  std::string kind = "-";
  int status = 0;  // 0: no reply was sent
  std::string note;
  Clock::time_point start = Clock::now();
};

void Log(const Exchange& exchange) {
  const double millis =
      std::chrono::duration<double, std::milli>(Clock::now() - exchange.start).count();
  const std::string status = exchange.status == 0 ? "-" : std::to_string(exchange.status);
  std::fprintf(stderr, "%s %s \"%s\" %s %s %.1fms%s%s\n", SuggestionStore::Now().c_str(),
               exchange.peer.c_str(), exchange.request.c_str(), exchange.kind.c_str(),
               status.c_str(), millis, exchange.note.empty() ? "" : " ", exchange.note.c_str());
}

// Where a request's header ends (its blank line included), or npos while it goes on. A bare
// line feed is taken as a line's end too, for the parser to refuse.
std::size_t HeaderEnd(std::string_view received) {
  const std::size_t blank = received.find("\n\r\n");
  const std::size_t bare = received.find("\n\n");
  return std::min(blank == std::string_view::npos ? blank : blank + 3,
                  bare == std::string_view::npos ? bare : bare + 2);
}

std::string_view View(const beast::flat_buffer& buffer) {
  const auto data = buffer.data();
  return {static_cast<const char*>(data.data()), data.size()};
}

}  // namespace

struct SuggestionServer::Impl {
  explicit Impl(ServerOptions options_in)
      : options(std::move(options_in)), acceptor(io), signals(io, SIGINT, SIGTERM) {}

  awaitable<void> Accept();
  awaitable<void> Serve(tcp::socket socket);
  awaitable<Reply> ServeLegacy(beast::tcp_stream& stream, beast::flat_buffer& buffer,
                               Exchange& exchange, bool& reading);
  awaitable<Reply> ServeHttp(beast::tcp_stream& stream, beast::flat_buffer& buffer,
                             Exchange& exchange, bool from_proxy);
  awaitable<Reply> AcceptSuggestion(std::string_view body, Exchange& exchange);
  awaitable<void> SendReply(beast::tcp_stream& stream, const Reply& reply,
                            Exchange& exchange) const;
  Reply ReadViewPage(std::optional<std::int64_t> before);
  bool FirstRefusal(const Exchange& exchange);
  bool EvictSlowest();
  void BeforeRead(beast::tcp_stream& stream);
  void AfterRead(beast::tcp_stream& stream, std::size_t received, beast::error_code& ec);
  awaitable<void> SummariseRefusals();
  void TakeForwardedClient(const http::request<http::string_body>& request, Exchange& exchange);
  void Stop();

  // The view page, read and rendered on the reader's thread: a large page or a busy database
  // holds up no other client.
  template <typename Token>
  auto AsyncViewPage(std::optional<std::int64_t> before, Token&& token) {
    return asio::async_initiate<Token, void(Reply)>(
        [this](auto handler, std::optional<std::int64_t> page_before) {
          struct Waiting {
            decltype(handler) resume;
            asio::executor_work_guard<asio::io_context::executor_type> work;
          };
          auto waiting =
              std::make_shared<Waiting>(Waiting{std::move(handler), asio::make_work_guard(io)});
          asio::post(page_reader, [this, waiting, page_before] {
            auto reply = std::make_shared<Reply>(ReadViewPage(page_before));
            asio::post(io, [waiting, reply] { waiting->resume(std::move(*reply)); });
          });
        },
        token, before);
  }

  // The suggestion stored for good: its id, or nothing when the database refused it.
  template <typename Token>
  auto AsyncStore(NewSuggestion suggestion, Token&& token) {
    return asio::async_initiate<Token, void(std::optional<std::int64_t>)>(
        [this](auto handler, NewSuggestion&& row) {
          // Keeps the loop running while the writer thread holds the handler.
          struct Waiting {
            decltype(handler) resume;
            asio::executor_work_guard<asio::io_context::executor_type> work;
          };
          auto waiting =
              std::make_shared<Waiting>(Waiting{std::move(handler), asio::make_work_guard(io)});
          commits->Submit(std::move(row), [this, waiting](std::optional<std::int64_t> id) {
            asio::post(io, [waiting, id]() mutable { waiting->resume(id); });
          });
        },
        token, std::move(suggestion));
  }

  ServerOptions options;
  std::string error;
  asio::io_context io;
  tcp::acceptor acceptor;
  asio::signal_set signals;
  SuggestionStore writer;
  SuggestionStore reader;  // used on page_reader's thread alone
  std::optional<CommitQueue> commits;
  asio::thread_pool page_reader{1};  // after reader: ends before it
  // Streams still reading a request, and how far: when the server stops, those that sent
  // nothing yet are closed, the others may finish within their time-out.
  std::map<beast::tcp_stream*, Progress*> reading_streams;
  std::size_t clients = 0;
  std::map<std::string, std::size_t> clients_by_address;
  std::optional<asio::ip::address> trusted_proxy;
  StaticSite site;
  PostLimiter post_limiter{options.post_limit, options.post_window};
  // Refusals per address within the log interval: when it ends, and how many were not logged.
  struct Refusals {
    Clock::time_point until;
    std::size_t unlogged = 0;
    std::string note;
  };
  std::map<std::string, Refusals> refusals;
  asio::steady_timer refusal_timer{io};
  std::size_t refused_lingering = 0;
  bool stopping = false;
};

SuggestionServer::SuggestionServer(ServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

SuggestionServer::~SuggestionServer() = default;

const std::string& SuggestionServer::Error() const { return impl_->error; }

bool SuggestionServer::Start() {
  Impl& s = *impl_;
  if (!s.writer.Open(s.options.database) || !s.reader.Open(s.options.database)) {
    s.error = s.options.database + ": " +
              (s.writer.Error().empty() ? s.reader.Error() : s.writer.Error());
    return false;
  }
  beast::error_code ec;
  const auto address = asio::ip::make_address(s.options.address, ec);
  if (ec) {
    s.error = "not an IP address: " + s.options.address;
    return false;
  }
  if (!s.options.trusted_proxy.empty()) {
    s.trusted_proxy = Unmapped(asio::ip::make_address(s.options.trusted_proxy, ec));
    if (ec) {
      s.error = "--trust-proxy: not an IP address: " + s.options.trusted_proxy;
      return false;
    }
  }
  tcp::endpoint endpoint(address, s.options.port);
  s.acceptor.open(endpoint.protocol(), ec);
  // [::] serves IPv4 clients too, whatever the system's default for IPv6 sockets; on a
  // system without IPv6 it falls back to every IPv4 address.
  const bool any_v6 = address.is_v6() && address.is_unspecified();
  if (ec == asio::error::address_family_not_supported && any_v6) {
    std::fprintf(stderr, "qup-suggestd: no IPv6 here: listening on IPv4 only\n");
    endpoint = tcp::endpoint(asio::ip::address_v4::any(), s.options.port);
    s.acceptor.open(endpoint.protocol(), ec);
  } else if (!ec && any_v6) {
    s.acceptor.set_option(asio::ip::v6_only(false), ec);
  }
  if (!ec) s.acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) s.acceptor.bind(endpoint, ec);
  if (!ec) s.acceptor.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    s.error = "cannot listen on " + s.options.address + ":" + std::to_string(s.options.port) +
              ": " + ec.message();
    return false;
  }
  const Retention retention{s.options.keep_count, s.options.keep_for};
  if (!s.writer.Prune(retention)) {
    s.error = s.options.database + ": " + s.writer.Error();
    return false;
  }
  s.commits.emplace(s.writer, retention);
  s.site.Load(s.options.site);
  if (s.site.Serving()) {
    std::fprintf(stderr, "qup-suggestd: serving the web calculators from %s (%zu files)\n",
                 s.options.site.c_str(), s.site.FileCount());
  } else if (!s.site.Note().empty()) {
    std::fprintf(stderr, "qup-suggestd: --site %s\n", s.site.Note().c_str());
  }
  return true;
}

std::string SuggestionServer::ListeningOn() const {
  beast::error_code ec;
  const tcp::endpoint endpoint = impl_->acceptor.local_endpoint(ec);
  if (ec) return "-";
  return WithPort(endpoint.address(), endpoint.port());
}

void SuggestionServer::Run() {
  Impl& s = *impl_;
  s.signals.async_wait([&s](const beast::error_code& ec, int) {
    if (!ec) s.Stop();
  });
  asio::co_spawn(s.io, s.Accept(), asio::detached);
  s.io.run();
  s.commits.reset();  // every queued suggestion is stored before this returns
}

void SuggestionServer::Impl::Stop() {
  stopping = true;
  beast::error_code ignored;
  acceptor.close(ignored);
  for (const auto& [stream, progress] : reading_streams) {
    if (progress->received == 0) stream->cancel();
  }
  signals.cancel(ignored);
  refusal_timer.cancel();
}

awaitable<void> SuggestionServer::Impl::Accept() {
  for (;;) {
    beast::error_code ec;
    tcp::socket socket =
        co_await acceptor.async_accept(asio::redirect_error(asio::use_awaitable, ec));
    if (stopping) co_return;
    if (ec) {
      // Out of descriptors or a connection gone before it was taken: pause, then go on.
      std::fprintf(stderr, "qup-suggestd: accept: %s\n", ec.message().c_str());
      asio::steady_timer pause(io, std::chrono::milliseconds(100));
      co_await pause.async_wait(asio::redirect_error(asio::use_awaitable, ec));
      continue;
    }
    asio::co_spawn(io, Serve(std::move(socket)), asio::detached);
  }
}

awaitable<void> SuggestionServer::Impl::Serve(tcp::socket socket) {
  beast::tcp_stream stream(std::move(socket));
  Exchange exchange;
  beast::error_code ec;
  const tcp::endpoint peer = stream.socket().remote_endpoint(ec);
  const asio::ip::address peer_address = Unmapped(peer.address());
  exchange.peer_address = ec ? "-" : peer_address.to_string();
  exchange.peer = ec ? "-" : WithPort(peer_address, peer.port());
  exchange.connection_address = exchange.peer_address;
  const bool from_proxy = !ec && trusted_proxy && peer_address == *trusted_proxy;

  ++clients;
  const std::size_t from_address = ++clients_by_address[exchange.connection_address];
  struct Leave {
    Impl& server;
    beast::tcp_stream* stream;
    const std::string& address;
    bool counted = true;
    void Release() {
      if (!counted) return;
      counted = false;
      --server.clients;
      if (--server.clients_by_address[address] == 0) server.clients_by_address.erase(address);
    }
    ~Leave() {
      server.reading_streams.erase(stream);
      Release();
    }
  } leave{*this, &stream, exchange.connection_address};

  if (stopping) co_return;  // taken just before the stop: nothing of it has been read
  // An address over its share is refused before any other client is dropped to make room.
  const bool over_share = from_address > options.max_per_client && !from_proxy;
  const bool full = !over_share && clients > options.max_clients && !EvictSlowest();
  if (over_share || full) {
    exchange.note = full ? "too many clients" : "too many connections from this address";
    leave.Release();  // a refused connection holds no slot, even while its reply goes out
    Reply reply = ErrorPage(http::status::service_unavailable);
    reply.logged = FirstRefusal(exchange);
    // What the client sent is read before closing, as after any reply: closing on unread bytes
    // resets the connection, and a client may then drop the reply unread. So many refused
    // connections may linger at once; beyond that they close at once.
    reply.linger = refused_lingering < options.max_clients ? Clock::duration(kRefusalLingerTime)
                                                           : Clock::duration::zero();
    ++refused_lingering;
    co_await SendReply(stream, reply, exchange);
    --refused_lingering;
    co_return;
  }

  // The request line must come soon, and the whole request within the time-out and at the
  // minimum rate, however it trickles in.
  Progress progress;
  progress.line_deadline = progress.start + std::min(options.line_timeout, options.timeout);
  progress.deadline = progress.start + options.timeout;
  reading_streams[&stream] = &progress;
  beast::flat_buffer buffer;
  RequestLineKind kind = RequestLineKind::kIncomplete;
  while ((kind = ClassifyRequestLine(View(buffer))) == RequestLineKind::kIncomplete) {
    if (buffer.size() > kLegacyRequestLimit) break;
    BeforeRead(stream);
    const std::size_t received =
        co_await stream.async_read_some(buffer.prepare(kLegacyRequestLimit + 1 - buffer.size()),
                                        asio::redirect_error(asio::use_awaitable, ec));
    buffer.commit(received);
    AfterRead(stream, received, ec);
    if (ec) break;
  }
  progress.line_done = true;
  exchange.request = buffer.size() == 0 ? "-" : RequestLineForLog(View(buffer));

  Reply reply;
  bool reading = true;
  if (kind == RequestLineKind::kIncomplete) {
    if (ec == beast::error::timeout) {
      exchange.note = "timed out waiting for a request line";
      reply = TimedOut();
    } else if (buffer.size() > kLegacyRequestLimit) {
      exchange.note = "request line too long";
      reply = ErrorPage(http::status::payload_too_large);
    } else {
      exchange.note = stopping && buffer.size() == 0 ? "closed without a request: server stopping"
                      : buffer.size() == 0           ? "closed without a request"
                                                     : "request cut short";
      Log(exchange);
      co_return;
    }
  } else if (kind == RequestLineKind::kMalformed) {
    exchange.note = "malformed request line";
    reply = ErrorPage(http::status::bad_request);
  } else if (kind == RequestLineKind::kLegacy) {
    exchange.kind = "legacy";
    reply = co_await ServeLegacy(stream, buffer, exchange, reading);
    if (!reading) co_return;
  } else {
    exchange.kind = "http";
    reply = co_await ServeHttp(stream, buffer, exchange, from_proxy);
  }
  reading_streams.erase(&stream);
  if (progress.evicted) {
    exchange.note = "dropped for a newcomer: the server was full and this client had sent least";
  } else if (progress.too_slow) {
    exchange.note = "dropped: sending too slowly";
  }
  co_await SendReply(stream, reply, exchange);
}

awaitable<Reply> SuggestionServer::Impl::ServeLegacy(beast::tcp_stream& stream,
                                                     beast::flat_buffer& buffer, Exchange& exchange,
                                                     bool& reading) {
  beast::error_code ec;
  bool client_done = false;
  LegacyRequest request;
  for (;;) {
    request = ReadLegacyRequest(View(buffer), client_done);
    if (request.status != LegacyRequest::Status::kNeedMore) break;
    BeforeRead(stream);
    const std::size_t received =
        co_await stream.async_read_some(buffer.prepare(kLegacyRequestLimit + 1 - buffer.size()),
                                        asio::redirect_error(asio::use_awaitable, ec));
    buffer.commit(received);
    AfterRead(stream, received, ec);
    if (ec == beast::error::timeout) {
      exchange.note = "timed out in the request";
      co_return TimedOut();
    }
    if (ec == asio::error::eof) {
      client_done = true;
    } else if (ec) {
      exchange.note = "connection lost: " + ec.message();
      Log(exchange);
      reading = false;
      co_return Reply{};
    }
  }
  reading_streams.erase(&stream);
  if (request.status != LegacyRequest::Status::kComplete) {
    exchange.note = std::string(request.reason);
    co_return ErrorPage(StatusOf(request.status));
  }
  co_return co_await AcceptSuggestion(request.body, exchange);
}

awaitable<Reply> SuggestionServer::Impl::ServeHttp(beast::tcp_stream& stream,
                                                   beast::flat_buffer& buffer, Exchange& exchange,
                                                   bool from_proxy) {
  beast::error_code ec;
  // The header is read whole before it is parsed, so that its size is held to the limit
  // however it comes (the parser's own limit let many small lines in one send through), and
  // lines HTTP/1.1 forbids are refused before the body is read.
  std::size_t header_end = std::string_view::npos;
  while ((header_end = HeaderEnd(View(buffer))) == std::string_view::npos &&
         buffer.size() <= kBrowserHeaderLimit) {
    BeforeRead(stream);
    const std::size_t received =
        co_await stream.async_read_some(buffer.prepare(kBrowserHeaderLimit + 1 - buffer.size()),
                                        asio::redirect_error(asio::use_awaitable, ec));
    buffer.commit(received);
    AfterRead(stream, received, ec);
    if (ec) break;
  }
  if (ec == beast::error::timeout) {
    reading_streams.erase(&stream);
    exchange.note = "timed out in the request";
    co_return TimedOut();
  }
  if (header_end == std::string_view::npos && ec) {
    reading_streams.erase(&stream);
    exchange.note = "bad request: " + ec.message();
    co_return ErrorPage(http::status::bad_request);
  }
  if (header_end > kBrowserHeaderLimit) {  // npos too: the limit came before the end
    reading_streams.erase(&stream);
    exchange.note = "request too large";
    co_return ErrorPage(http::status::payload_too_large);
  }
  const std::string_view header = View(buffer).substr(0, header_end);
  if (header.find("\n ") != std::string_view::npos ||
      header.find("\n\t") != std::string_view::npos) {
    reading_streams.erase(&stream);
    exchange.note = "bad request: folded header line";
    co_return ErrorPage(http::status::bad_request);
  }

  http::request_parser<http::string_body> parser;
  parser.header_limit(kBrowserHeaderLimit);
  parser.body_limit(kBrowserBodyLimit);
  BeforeRead(stream);  // the header is in the buffer already: no bytes to count
  co_await http::async_read_header(stream, buffer, parser,
                                   asio::redirect_error(asio::use_awaitable, ec));
  // A transfer coding other than chunked leaves the body's end unknown, and one beside a
  // Content-Length lets a proxy and this server read different bodies: both are refused.
  if (!ec && parser.get().count(http::field::transfer_encoding) > 0 &&
      (!parser.chunked() || parser.get().count(http::field::content_length) > 0)) {
    reading_streams.erase(&stream);
    exchange.note = "bad request: transfer coding";
    co_return ErrorPage(http::status::bad_request);
  }
  // The body a piece at a time, each held to the minimum rate.
  while (!ec && !parser.is_done()) {
    BeforeRead(stream);
    const std::size_t parsed = co_await http::async_read_some(
        stream, buffer, parser, asio::redirect_error(asio::use_awaitable, ec));
    AfterRead(stream, parsed, ec);
  }
  reading_streams.erase(&stream);
  if (ec == beast::error::timeout) {
    exchange.note = "timed out in the request";
    co_return TimedOut();
  }
  if (ec == http::error::header_limit || ec == http::error::body_limit ||
      ec == http::error::buffer_overflow) {
    exchange.note = "request too large";
    co_return ErrorPage(http::status::payload_too_large);
  }
  if (ec) {
    exchange.note = "bad request: " + ec.message();
    co_return ErrorPage(http::status::bad_request);
  }

  const http::request<http::string_body>& request = parser.get();
  exchange.request =
      RequestLineForLog(std::string(request.method_string()) + " " + std::string(request.target()));
  if (from_proxy) TakeForwardedClient(request, exchange);
  const std::string_view path = TargetPath(request.target());
  const bool get = request.method() == http::verb::get;
  const bool head = request.method() == http::verb::head;
  Reply reply;
  if (EqualsNoCase(path, "/sendinfo.asp")) {
    if (request.method() == http::verb::post) {
      co_return co_await AcceptSuggestion(request.body(), exchange);
    }
    reply = ErrorPage(http::status::method_not_allowed);
  } else if (const SiteFile* file = site.Find(path)) {
    reply = get || head ? SiteReply(*file) : ErrorPage(http::status::method_not_allowed);
  } else if (path == "/" || EqualsNoCase(path, "/ViewInfo.asp")) {
    if (!get && !head) {
      reply = ErrorPage(http::status::method_not_allowed);
    } else {
      if (path == "/") {
        reply = HtmlReply(http::status::ok, RenderHomePage());
      } else if (const auto before = ViewPageBefore(request.target())) {
        reply = co_await AsyncViewPage(*before, asio::use_awaitable);
      } else {
        exchange.note = "no such page of suggestions";
        reply = ErrorPage(http::status::bad_request);
      }
    }
  } else {
    reply = ErrorPage(http::status::not_found);
  }
  reply.head_only = head;
  co_return reply;
}

awaitable<Reply> SuggestionServer::Impl::AcceptSuggestion(std::string_view body,
                                                          Exchange& exchange) {
  const std::optional<std::string_view> field = FormField(body, "text");
  if (!field) {
    exchange.note = "no text field";
    co_return ErrorPage(http::status::bad_request);
  }
  std::optional<std::string> text = DecodeFormText(*field);
  if (!text) {
    exchange.note = "malformed percent escape";
    co_return ErrorPage(http::status::bad_request);
  }
  if (text->empty()) {
    exchange.note = "empty suggestion";
    co_return ErrorPage(http::status::bad_request);
  }
  const auto now = PostLimiter::Clock::now();
  if (!post_limiter.Allow(exchange.peer_address, now)) {
    exchange.note = "too many posts from this address";
    Reply reply = ErrorPage(http::status::too_many_requests);
    reply.retry_after = std::chrono::ceil<std::chrono::seconds>(
        post_limiter.RetryAfter(exchange.peer_address, now));
    co_return reply;
  }
  NewSuggestion row{std::move(*text), exchange.peer_address, SuggestionStore::Now()};
  const std::optional<std::int64_t> id = co_await AsyncStore(std::move(row), asio::use_awaitable);
  if (!id) {
    exchange.note = "not stored";
    co_return ErrorPage(http::status::internal_server_error);
  }
  exchange.note = "stored #" + std::to_string(*id);
  co_return TextReply(http::status::ok, "Thank you: your suggestion is stored.\n");
}

Reply SuggestionServer::Impl::ReadViewPage(std::optional<std::int64_t> before) {
  ViewPageRows page;
  page.first = !before;
  std::optional<std::vector<StoredSuggestion>> rows = reader.Newest(kViewPageSize + 1, before);
  if (!rows) {
    std::fprintf(stderr, "qup-suggestd: %s\n", reader.Error().c_str());
    return ErrorPage(http::status::internal_server_error);
  }
  page.older = rows->size() > kViewPageSize;
  if (page.older) rows->pop_back();
  page.suggestions = std::move(*rows);
  return HtmlReply(http::status::ok, RenderViewPage(page));
}

// With every slot taken, the connection still reading its request that has sent least for its
// age (at least kEvictableAge) is dropped for the newcomer: clients that trickle bytes to hold
// slots cannot shut others out, however many addresses they come from. False when none can go.
bool SuggestionServer::Impl::EvictSlowest() {
  const Clock::time_point now = Clock::now();
  beast::tcp_stream* slowest = nullptr;
  Progress* slowest_progress = nullptr;
  double slowest_rate = 0;
  for (const auto& [stream, progress] : reading_streams) {
    const auto age = std::chrono::duration<double>(now - progress->start);
    if (progress->evicted || age < kEvictableAge) continue;
    const double rate = static_cast<double>(progress->received) / age.count();
    if (slowest == nullptr || rate < slowest_rate ||
        (rate == slowest_rate && progress->start < slowest_progress->start)) {
      slowest = stream;
      slowest_progress = progress;
      slowest_rate = rate;
    }
  }
  if (slowest == nullptr) return false;
  slowest_progress->evicted = true;
  slowest->cancel();  // its read ends at once; AfterRead turns that into a silent drop
  return true;
}

// Sets the time-out of a read of the request: the earliest of the request's deadline, the
// request line's while it is incomplete, and the minimum rate's (by then the client must have
// sent one byte more).
void SuggestionServer::Impl::BeforeRead(beast::tcp_stream& stream) {
  const auto found = reading_streams.find(&stream);
  if (found == reading_streams.end()) return;
  Progress& progress = *found->second;
  Clock::time_point until = progress.deadline;
  if (!progress.line_done) until = std::min(until, progress.line_deadline);
  const auto at_minimum_rate =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
          static_cast<double>(progress.received + 1) / kMinimumBytesPerSecond));
  const Clock::time_point rate_deadline =
      progress.start + std::min(options.line_timeout, options.timeout) + at_minimum_rate;
  progress.rate_bound = rate_deadline < until;
  stream.expires_at(std::min(until, rate_deadline));
}

// Counts what a read brought. A connection dropped for a newcomer ends as a time-out does:
// closed, nothing sent.
void SuggestionServer::Impl::AfterRead(beast::tcp_stream& stream, std::size_t received,
                                       beast::error_code& ec) {
  const auto found = reading_streams.find(&stream);
  if (found == reading_streams.end()) return;
  Progress& progress = *found->second;
  progress.received += received;
  if (progress.evicted) {
    ec = beast::error::timeout;
  } else if (ec == beast::error::timeout && progress.rate_bound) {
    progress.too_slow = true;
  }
}

// Whether a refused connection is logged: the first from its address within the interval is,
// the others are counted and told in one line when the interval ends. Under attack a line per
// connection would flood the log, and a journal's rate limit would then drop the lines that
// matter.
bool SuggestionServer::Impl::FirstRefusal(const Exchange& exchange) {
  const bool followed =
      refusals.size() < kRefusalLogAddresses || refusals.contains(exchange.connection_address);
  const std::string key = followed ? exchange.connection_address : kOtherAddresses;
  const auto [entry, added] =
      refusals.try_emplace(key, Refusals{Clock::now() + kRefusalLogInterval, 0, exchange.note});
  if (added) {
    if (refusals.size() == 1) asio::co_spawn(io, SummariseRefusals(), asio::detached);
    return true;
  }
  ++entry->second.unlogged;
  return false;
}

// Tells, as each address's interval ends (or the server stops), how many of its refusals were
// not logged; runs while any are followed.
awaitable<void> SuggestionServer::Impl::SummariseRefusals() {
  while (!refusals.empty()) {
    Clock::time_point next = Clock::time_point::max();
    for (const auto& [address, refused] : refusals) next = std::min(next, refused.until);
    refusal_timer.expires_at(next);
    beast::error_code ec;
    co_await refusal_timer.async_wait(asio::redirect_error(asio::use_awaitable, ec));
    const Clock::time_point now = Clock::now();
    for (auto entry = refusals.begin(); entry != refusals.end();) {
      const Refusals& refused = entry->second;
      if (!stopping && refused.until > now) {
        ++entry;
        continue;
      }
      if (refused.unlogged > 0) {
        std::fprintf(stderr, "%s %s refused %zu more connections within %llds: %s\n",
                     SuggestionStore::Now().c_str(), entry->first.c_str(), refused.unlogged,
                     static_cast<long long>(kRefusalLogInterval.count()), refused.note.c_str());
      }
      entry = refusals.erase(entry);
    }
  }
}

// The last address of X-Forwarded-For is the one the trusted proxy added itself: the client
// as the proxy saw it. Addresses before it are the client's own say and are not believed.
// Several header lines are one list joined by commas (the client may send a line of its own
// before the proxy's), so the address taken is the last of the last line.
void SuggestionServer::Impl::TakeForwardedClient(const http::request<http::string_body>& request,
                                                 Exchange& exchange) {
  std::optional<std::string_view> last_line;
  for (const auto& field : request) {
    if (EqualsNoCase(field.name_string(), "X-Forwarded-For")) last_line = field.value();
  }
  if (!last_line) return;
  std::string_view value = *last_line;
  value = value.substr(value.rfind(',') == std::string_view::npos ? 0 : value.rfind(',') + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  beast::error_code ec;
  const auto client = Unmapped(asio::ip::make_address(std::string(value), ec));
  if (ec) {
    exchange.peer += " (unreadable X-Forwarded-For)";
    return;
  }
  exchange.peer = client.to_string() + " via " + exchange.peer;
  exchange.peer_address = client.to_string();
}

awaitable<void> SuggestionServer::Impl::SendReply(beast::tcp_stream& stream, const Reply& reply,
                                                  Exchange& exchange) const {
  // The body is not copied: a site file is the server's for as long as it runs, and the
  // reply's own text outlives the write.
  http::response<http::span_body<const char>> response(reply.status, 11);
  const std::string_view body = reply.file != nullptr ? reply.file->bytes : reply.body;
  response.set(http::field::server, "qup-suggestd");
  if (reply.file != nullptr) {
    response.set(http::field::content_type, reply.file->content_type);
  } else {
    response.set(http::field::content_type,
                 reply.html ? "text/html; charset=utf-8" : "text/plain; charset=utf-8");
  }
  response.set(http::field::cache_control, "no-store");
  response.set(http::field::connection, "close");
  response.set("X-Content-Type-Options", "nosniff");
  if (reply.retry_after.count() > 0) {
    response.set(http::field::retry_after, std::to_string(reply.retry_after.count()));
  }
  if (reply.file != nullptr) {
    response.set("Content-Security-Policy", kSitePolicy);
    response.set("Referrer-Policy", "no-referrer");
  } else if (reply.html) {
    // The pages carry no script and load nothing: a browser refuses both even if a
    // suggestion's text ever escaped its escaping. No other site may show them in a frame.
    response.set("Content-Security-Policy",
                 "default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'");
    response.set("Referrer-Policy", "no-referrer");
  }
  if (reply.head_only) {
    response.content_length(body.size());
  } else {
    response.body() = {body.data(), body.size()};
    response.prepare_payload();
  }
  if (reply.closed) {
    Log(exchange);
    co_return;
  }
  exchange.status = static_cast<int>(reply.status);

  beast::error_code ec;
  stream.expires_after(options.timeout);
  co_await http::async_write(stream, response, asio::redirect_error(asio::use_awaitable, ec));
  if (ec) exchange.note += (exchange.note.empty() ? "" : "; ") + ("reply lost: " + ec.message());
  if (reply.logged) Log(exchange);
  if (ec || reply.linger <= Clock::duration::zero()) co_return;

  // Close gently: say we are done, then drop what the client still sends until it closes.
  stream.socket().shutdown(tcp::socket::shutdown_send, ec);
  stream.expires_after(std::min<Clock::duration>(reply.linger, options.timeout));
  std::array<char, 2048> scratch;
  std::size_t dropped = 0;
  while (!ec && dropped < kLingerBytes && !stopping) {
    dropped += co_await stream.async_read_some(asio::buffer(scratch),
                                               asio::redirect_error(asio::use_awaitable, ec));
  }
}

}  // namespace qup::server
