// SPDX-License-Identifier: MIT
// The server's two pages: the home page and the list of suggestions.
#include "server/html_pages.h"

#include <algorithm>
#include <charconv>

namespace qup::server {
namespace {

// Small pages that read well on a phone: the viewport follows the device, text wraps, and
// the suggestion's own line breaks and spaces are kept (pre-wrap) without markup of ours.
constexpr std::string_view kHead =
    "<!DOCTYPE html>\n"
    "<html lang=\"en\">\n"
    "<head>\n"
    "<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";

constexpr std::string_view kStyle =
    "<style>\n"
    "body{font-family:system-ui,sans-serif;line-height:1.45;max-width:42rem;"
    "margin:0 auto;padding:1rem;color:#1b1b1b;background:#fff}\n"
    "h1{font-size:1.4rem}\n"
    "ol{list-style:none;padding:0}\n"
    "li{border-top:1px solid #ccc;padding:.6rem 0}\n"
    ".when{color:#555;font-size:.85rem;margin:0 0 .3rem}\n"
    ".text{white-space:pre-wrap;overflow-wrap:anywhere;margin:0}\n"
    "nav a{margin-right:1rem}\n"
    "</style>\n"
    "</head>\n"
    "<body>\n";

constexpr std::string_view kTail = "</body>\n</html>\n";

// text with &, <, >, " and ' replaced by their character references.
std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Title(std::string_view title) { return "<title>" + EscapeHtml(title) + "</title>\n"; }

// "2024-05-01T12:34:56.789Z" as "2024-05-01 12:34 UTC"; anything else as it is.
std::string ReadableTime(std::string_view stamp) {
  if (stamp.size() < 16 || stamp[10] != 'T') return std::string(stamp);
  return std::string(stamp.substr(0, 10)) + " " + std::string(stamp.substr(11, 5)) + " UTC";
}

}  // namespace

std::string RenderHomePage() {
  std::string page(kHead);
  page += Title("Quorvane Utility Program");
  page += kStyle;
  page +=
      "<h1>Quorvane Utility Program</h1>\n"
      "<p>Suggestions sent from the program's Suggestions page are kept here.</p>\n"
      "<p><a href=\"/ViewInfo.asp\">Read the suggestions</a></p>\n";
  page += kTail;
  return page;
}

std::optional<std::optional<std::int64_t>> ViewPageBefore(std::string_view target) {
  const std::size_t query = target.find('?');
  if (query == std::string_view::npos) return std::optional<std::int64_t>();
  std::string_view rest = target.substr(query + 1);
  rest = rest.substr(0, rest.find('#'));
  while (!rest.empty()) {
    const std::string_view pair = rest.substr(0, rest.find('&'));
    rest.remove_prefix(std::min(rest.size(), pair.size() + 1));
    constexpr std::string_view kName = "before=";
    if (!pair.starts_with(kName)) continue;
    const std::string_view value = pair.substr(kName.size());
    std::int64_t before = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), before);
    if (error != std::errc{} || end != value.data() + value.size() || before <= 0) {
      return std::nullopt;
    }
    return std::optional<std::int64_t>(before);
  }
  return std::optional<std::int64_t>();
}

std::string RenderViewPage(const ViewPageRows& rows) {
  std::string page(kHead);
  page += Title("Suggestions");
  page += kStyle;
  page += "<h1>Suggestions</h1>\n";
  // The page tells which ids it shows, not how many the database holds: counting the rows
  // would read them all for every page.
  if (rows.suggestions.empty()) {
    page += rows.first ? "<p>No suggestions yet.</p>\n" : "<p>No older suggestions.</p>\n";
  } else if (rows.suggestions.size() == 1) {
    page += "<p>Suggestion #" + std::to_string(rows.suggestions.front().id) + ".</p>\n";
  } else {
    page += "<p>Suggestions #" + std::to_string(rows.suggestions.front().id) + " to #" +
            std::to_string(rows.suggestions.back().id) + ", newest first.</p>\n";
  }
  if (!rows.suggestions.empty()) {
    page += "<ol>\n";
    for (const StoredSuggestion& suggestion : rows.suggestions) {
      const std::string id = std::to_string(suggestion.id);
      page += R"(<li id="s)";
      page += id;
      page += R"("><p class="when"><span class="id">#)";
      page += id;
      page += R"(</span> <time datetime=")";
      page += EscapeHtml(suggestion.received_at);
      page += R"(">)";
      page += EscapeHtml(ReadableTime(suggestion.received_at));
      page += R"(</time></p><p class="text">)";
      page += EscapeHtml(suggestion.text);
      page += "</p></li>\n";
    }
    page += "</ol>\n";
  } else if (!rows.first) {
    page += "<p>No older suggestions.</p>\n";
  }
  page += "<nav><a href=\"/\">Home</a>";
  if (!rows.first) page += R"(<a href="/ViewInfo.asp">Newest</a>)";
  if (rows.older && !rows.suggestions.empty()) {
    page += R"(<a href="/ViewInfo.asp?before=)";
    page += std::to_string(rows.suggestions.back().id);
    page += R"(" rel="next">Older</a>)";
  }
  page += "</nav>\n";
  page += kTail;
  return page;
}

std::string RenderErrorPage(int status, std::string_view title) {
  const std::string heading = std::to_string(status) + " " + std::string(title);
  std::string page(kHead);
  page += Title(heading);
  page += kStyle;
  page += "<h1>" + EscapeHtml(heading) + "</h1>\n<p><a href=\"/\">Home</a></p>\n";
  page += kTail;
  return page;
}

}  // namespace qup::server
