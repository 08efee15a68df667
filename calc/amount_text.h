// SPDX-License-Identifier: MIT
// Amount texts: cleaning what the user typed, reading a number from a text and writing one,
// all independent of the process locale.
#ifndef QUP_CALC_AMOUNT_TEXT_H
#define QUP_CALC_AMOUNT_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>

namespace qup::calc {

// The digits and '.' of text, up to its first '('; every other character is dropped.
std::string CleanAmountText(std::string_view text);

// The value of the leading run of decimal digits as a signed 32-bit number, 0 when there is
// none. Digits beyond what 32 bits hold give the largest value rather than overflowing.
std::int32_t WholeNumberPart(std::string_view text);

// The longest leading decimal number of text (digits with at most one '.'), 0 when there is
// none. Never an exponent, sign, "inf", "nan" or hex form. Too large a number reads as the
// largest finite double.
double ReadAmount(std::string_view text);

// value with exactly two decimals, '.' as the point, no sign or grouping, rounded from its exact
// decimal expansion with a tie going to the upper hundredth. For finite non-negative values.
std::string FormatTwoDecimals(double value);

}  // namespace qup::calc

#endif  // QUP_CALC_AMOUNT_TEXT_H
