// SPDX-License-Identifier: MIT
// Reference amount formatting by exact big-integer arithmetic, and reading through strtod.
#include "fuzz/reference_amount.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "fuzz/big_uint.h"

namespace qup::fuzz {

std::string ReferenceFormatAmount(double value) {
  if (!(value > 0.0) || value > std::numeric_limits<double>::max()) return "0.0";
  // value = mantissa * 2^exponent exactly, from the bits of the IEEE 754 double.
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  // hundredths = floor(100 * value + 1/2): ties go up.
  BigUint hundredths(mantissa);
  if (exponent >= 0) {
    hundredths *= 100;
    hundredths <<= static_cast<unsigned>(exponent);
  } else {
    // floor((200 * mantissa + 2^k) / 2^(k+1)) with k = -exponent.
    const auto k = static_cast<unsigned>(-exponent);
    hundredths *= 200;
    hundredths += BigUint::PowerOfTwo(k);
    hundredths >>= k + 1;
  }
  std::string digits = hundredths.ToDecimal();
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  digits.insert(digits.size() - 2, 1, '.');
  return digits;
}

double ReferenceReadAmount(std::string_view text) {
  std::size_t end = 0;
  auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  while (digit(end)) ++end;
  bool any_digit = end > 0;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (digit(end)) {
      ++end;
      any_digit = true;
    }
  }
  if (!any_digit) return 0.0;
  const std::string number(text.substr(0, end));
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isinf(value) ? std::numeric_limits<double>::max() : value;
}

}  // namespace qup::fuzz
