// SPDX-License-Identifier: MIT
// The server's two pages: the home page and the list of suggestions.
#ifndef QUP_SERVER_HTML_PAGES_H
#define QUP_SERVER_HTML_PAGES_H

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "server/suggestion_store.h"

namespace qup::server {

// The view page shows at most this many, the newest; the page says how many there are.
inline constexpr std::size_t kViewPageLimit = 1000;

std::string RenderHomePage();

// suggestions newest first; total is how many the database holds.
std::string RenderViewPage(std::span<const StoredSuggestion> suggestions, std::int64_t total);

// A short page for a refused request.
std::string RenderErrorPage(int status, std::string_view title);

}  // namespace qup::server

#endif  // QUP_SERVER_HTML_PAGES_H
