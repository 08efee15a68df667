// SPDX-License-Identifier: MIT
// Comparing texts without regard to case, the same for every character Unicode gives a case.
#ifndef QUP_TEXT_CASE_FOLD_H
#define QUP_TEXT_CASE_FOLD_H

#include <string_view>

namespace qup::text {

// The character's simple case folding (one character for one), as Unicode 14 defines it:
// 'A' and 'a' both give 'a', '\u00C9' gives '\u00E9', '\u03A3' and '\u03C2' give '\u03C3'.
// A character without a case gives itself.
char32_t FoldCase(char32_t c);

// UTF-8 texts compared character by character after folding; a byte that is not part of a
// well-formed sequence compares as itself.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qup::text

#endif  // QUP_TEXT_CASE_FOLD_H
