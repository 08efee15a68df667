// SPDX-License-Identifier: MIT
// QUP_PROPERTY: a property every input must keep; a violated one ends the run as a crash, so
// that the fuzzer keeps the input that broke it.
#ifndef QUP_FUZZ_PROPERTY_H
#define QUP_FUZZ_PROPERTY_H

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qup::fuzz {

[[noreturn]] inline void PropertyViolated(const char* condition, std::string_view detail,
                                          const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property violated: %s\n  detail: %.*s\n", file, line, condition,
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace qup::fuzz

// detail is anything a string_view can be made from: what the reader needs to see the fault.
#define QUP_PROPERTY(condition, detail)                                        \
  do {                                                                         \
    if (!(condition)) {                                                        \
      ::qup::fuzz::PropertyViolated(#condition, (detail), __FILE__, __LINE__); \
    }                                                                          \
  } while (false)

#endif  // QUP_FUZZ_PROPERTY_H
