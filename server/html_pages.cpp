// SPDX-License-Identifier: MIT
// The server's two pages: the home page and the list of suggestions.
#include "server/html_pages.h"

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

std::string RenderViewPage(std::span<const StoredSuggestion> suggestions, std::int64_t total) {
  std::string page(kHead);
  page += Title("Suggestions");
  page += kStyle;
  page += "<h1>Suggestions</h1>\n";
  if (suggestions.empty()) {
    page += "<p>No suggestions yet.</p>\n";
  } else {
    page += "<p>" + std::to_string(total) + (total == 1 ? " suggestion" : " suggestions");
    if (static_cast<std::int64_t>(suggestions.size()) < total) {
      page += ", the newest " + std::to_string(suggestions.size()) + " shown";
    }
    page += ", newest first.</p>\n<ol>\n";
    for (const StoredSuggestion& suggestion : suggestions) {
      page += "<li id=\"s" + std::to_string(suggestion.id) +
              "\"><p class=\"when\"><time datetime=\"" + EscapeHtml(suggestion.received_at) +
              "\">" + EscapeHtml(ReadableTime(suggestion.received_at)) +
              "</time></p><p class=\"text\">" + EscapeHtml(suggestion.text) + "</p></li>\n";
    }
    page += "</ol>\n";
  }
  page += "<p><a href=\"/\">Home</a></p>\n";
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
