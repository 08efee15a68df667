// SPDX-License-Identifier: MIT
// Independent references for amount texts, against which the fuzzer checks the program.
#ifndef QUP_FUZZ_REFERENCE_AMOUNT_H
#define QUP_FUZZ_REFERENCE_AMOUNT_H

#include <string>
#include <string_view>

namespace qup::fuzz {

// The display text of an amount worked out from the double's exact value, mantissa times a
// power of two, in big-integer arithmetic: the hundredths rounded half up by hand, or "0.0" for
// a value that is not a positive finite number.
std::string ReferenceFormatAmount(double value);

// The leading decimal number of text (digits, at most one '.'), as the C library reads it in
// the "C" locale; 0 without one, the largest finite double for one too large.
double ReferenceReadAmount(std::string_view text);

}  // namespace qup::fuzz

#endif  // QUP_FUZZ_REFERENCE_AMOUNT_H
