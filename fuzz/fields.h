// SPDX-License-Identifier: MIT
// Fields: an input's first lines, as the values a fuzz target types into a page.
#ifndef QUP_FUZZ_FIELDS_H
#define QUP_FUZZ_FIELDS_H

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace qup::fuzz {

// The first count lines of text (without their line feeds); empty ones where text runs out.
inline std::vector<std::string_view> Fields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields(count);
  for (std::size_t i = 0; i < count && !text.empty(); ++i) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    fields[i] = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return fields;
}

}  // namespace qup::fuzz

#endif  // QUP_FUZZ_FIELDS_H
