// SPDX-License-Identifier: MIT
// The Suggestions page: the placeholder, the process-wide counters and the page's handlers.
#ifndef QUP_SUGGEST_SUGGESTION_BOX_H
#define QUP_SUGGEST_SUGGESTION_BOX_H

#include <string_view>

#include "suggest/network.h"
#include "suggest/site_config.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::suggest {

inline constexpr int kSuggestionLimit = 1000;

extern const std::string_view SuggestionPlaceholder;

// Process-wide for the whole run.
extern int SuggestionFocusCount;
extern int SuggestionsSent;

void OnSetFocusSuggestion(ui::Window& window);
void OnMaxTextSuggestion(ui::Window& window);
void OnSend(ui::Window& window, ui::Platform& platform, Network& network);
void OnView(ui::Platform& platform);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_SUGGESTION_BOX_H
