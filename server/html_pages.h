// SPDX-License-Identifier: MIT
// The server's two pages: the home page and the list of suggestions.
#ifndef QUP_SERVER_HTML_PAGES_H
#define QUP_SERVER_HTML_PAGES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/suggestion_store.h"

namespace qup::server {

// The view page shows this many suggestions at a time, the newest first, and links to the
// page of older ones.
inline constexpr std::size_t kViewPageSize = 100;

// One page of the view: which suggestions, and where it sits among all.
struct ViewPageRows {
  std::vector<StoredSuggestion> suggestions;  // newest first
  bool first = true;                          // the newest page
  bool older = false;                         // there are older suggestions than these
};

// The view page's query: the page whose suggestions have ids below "before", or the newest
// page when the query does not name one; nothing when "before" is not a positive number.
std::optional<std::optional<std::int64_t>> ViewPageBefore(std::string_view target);

std::string RenderHomePage();

std::string RenderViewPage(const ViewPageRows& rows);

// A short page for a refused request.
std::string RenderErrorPage(int status, std::string_view title);

}  // namespace qup::server

#endif  // QUP_SERVER_HTML_PAGES_H
