// SPDX-License-Identifier: MIT
// Placeholder until the suggestion box lands.
#include "suggest/suggestion_box.h"

namespace qup::suggest {

const std::string_view SuggestionPlaceholder = "";
int SuggestionFocusCount = 0;
int SuggestionsSent = 0;

void OnSetFocusSuggestion(ui::Window&) {}
void OnMaxTextSuggestion(ui::Window&) {}
void OnSend(ui::Window&, ui::Platform&, Network&) {}
void OnView(ui::Platform&) {}

}  // namespace qup::suggest
