// SPDX-License-Identifier: MIT
// The Suggestions page: the placeholder, the process-wide counters and the page's handlers.
#ifndef QUP_SUGGEST_SUGGESTION_BOX_H
#define QUP_SUGGEST_SUGGESTION_BOX_H

#include <cstdint>
#include <string_view>

#include "suggest/network.h"
#include "suggest/site_config.h"
#include "ui/platform/platform.h"
#include "ui/platform/window.h"

namespace qup::suggest {

// Characters the suggestion box takes; a line break counts as two.
inline constexpr int kSuggestionLimit = 1000;

// Suggestions go to port 80 of SubmissionHost.
inline constexpr std::uint16_t kSubmissionPort = 80;

// What the box shows until it is first entered: three paragraphs, separated the way the box
// separates them.
inline constexpr std::string_view SuggestionPlaceholder =
    "Please use the Suggestion Box to communicate any thoughts you have for improving our Utility "
    "Programs, Website, or any other Feature or Service.  While we appreciate any information you "
    "are willing to share, please understand that all users view these postings, and that all "
    "postings should free of Profanity, Disrespectful Terminology, or SPAM.  "
    "\r\n\r\n"
    "Thank you for your thoughts.........." QUP_SITE_DISPLAY_NAME_LITERAL
    ".  "
    "\r\n\r\n"
    "NOTE: Clicking in here will delete all of this text.";

// The page the browser opens for View.
inline constexpr std::string_view kViewPageUrl = QUP_HOME_PAGE_URL_LITERAL "/ViewInfo.asp";

// Process-wide for the whole run: how often the box got the focus (0: the placeholder is still
// there), and how many suggestions the server confirmed (not 0: Send refuses).
extern int SuggestionFocusCount;
extern int SuggestionsSent;

// Tests only: back to the state at process start.
void ResetSuggestionCounters();

// The box received the focus; the first time, it is emptied.
void OnSetFocusSuggestion(ui::Window& window);
// The box refused text because of its limit.
void OnMaxTextSuggestion(ui::Window& window);
// One submission attempt, reported in a message box.
void OnSend(ui::Window& window, ui::Platform& platform, Network& network);
// Opens the page of posted suggestions in the browser.
void OnView(ui::Platform& platform);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_SUGGESTION_BOX_H
