// SPDX-License-Identifier: MIT
// Amount texts: cleaning, reading and writing numbers without the C library's locale.
#include "calc/amount_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace qup::calc {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number as base-10^9 limbs, least significant first: enough arithmetic to write a double's
// exact decimal expansion without the C library, whose rounding of ties and support for
// precisions differ between the libraries the program is built with.
class Decimal {
 public:
  explicit Decimal(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  // Multiplies by factor raised to count, in steps that keep each product within 64 bits.
  void MultiplyByPower(std::uint32_t factor, std::uint32_t step_factor, int step, int count) {
    for (; count >= step; count -= step) MultiplyBy(step_factor);
    for (; count > 0; --count) MultiplyBy(factor);
  }

  std::string Digits() const {
    std::string digits = std::to_string(limbs_.back());
    for (auto limb = limbs_.rbegin() + 1; limb != limbs_.rend(); ++limb) {
      const std::string part = std::to_string(*limb);
      digits.append(9 - part.size(), '0').append(part);
    }
    return digits;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;

  void MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  std::vector<std::uint32_t> limbs_;
};

// The exact decimal expansion of a finite, non-negative value, with at least three decimals:
// value = m * 2^e, and for e < 0 that is m * 5^-e / 10^-e, an integer and a point.
std::string ExactExpansion(double value) {
  int exponent = 0;
  const double mantissa = std::frexp(value, &exponent);
  constexpr int kMantissaBits = std::numeric_limits<double>::digits;
  Decimal number(static_cast<std::uint64_t>(std::ldexp(mantissa, kMantissaBits)));
  exponent -= kMantissaBits;
  std::size_t places = 0;
  if (exponent >= 0) {
    number.MultiplyByPower(2, 1u << 29, 29, exponent);
  } else {
    number.MultiplyByPower(5, 1220703125, 13, -exponent);  // 5^13
    places = static_cast<std::size_t>(-exponent);
  }
  std::string digits = number.Digits();
  if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
  digits.insert(digits.size() - places, 1, '.');
  if (places < 3) digits.append(3 - places, '0');
  return digits;
}

}  // namespace

std::string CleanAmountText(std::string_view text) {
  std::string cleaned;
  for (char c : text) {
    if (c == '(') break;
    if (IsDigit(c) || c == '.') cleaned.push_back(c);
  }
  return cleaned;
}

std::int32_t WholeNumberPart(std::string_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = value * 10 + (c - '0');
    if (value > kMax) return static_cast<std::int32_t>(kMax);
  }
  return static_cast<std::int32_t>(value);
}

double ReadAmount(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && IsDigit(text[end])) ++end;
  std::size_t digits = end;
  if (end < text.size() && text[end] == '.') {
    std::size_t fraction_end = end + 1;
    while (fraction_end < text.size() && IsDigit(text[fraction_end])) ++fraction_end;
    digits += fraction_end - end - 1;
    end = fraction_end;
  }
  if (digits == 0) return 0.0;
  double value = 0.0;
#if defined(__cpp_lib_to_chars)
  const auto [ptr, error] =
      std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  if (error != std::errc() && error != std::errc::result_out_of_range) return 0.0;
  const bool too_large = error == std::errc::result_out_of_range;
#else
  // A C++ library without a floating-point from_chars (the WebAssembly build's) comes with a C
  // library that has only the "C" locale, and its strtod rounds correctly as well.
  const std::string number(text.substr(0, end));
  value = std::strtod(number.c_str(), nullptr);
  const bool too_large = std::isinf(value);
#endif
  if (too_large) {
    // Either too large for a double or a tiny fraction below the smallest one.
    return IsDigit(text[0]) && WholeNumberPart(text) > 0 ? std::numeric_limits<double>::max() : 0.0;
  }
  return value;
}

std::string FormatTwoDecimals(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : "inf";
  // Write the exact expansion, then round it by hand: the C library rounds exact ties to even.
  const std::string digits = ExactExpansion(std::fabs(value));
  const std::size_t point = digits.find('.');
  std::string result(digits.substr(0, point + 3));  // integer part, '.', two decimals
  if (digits[point + 3] >= '5') {
    // Carry one hundredth through the digits, skipping the point.
    std::size_t i = result.size();
    while (i-- > 0) {
      if (result[i] == '.') continue;
      if (result[i] != '9') {
        ++result[i];
        break;
      }
      result[i] = '0';
      if (i == 0) result.insert(result.begin(), '1');
    }
  }
  return result;
}

}  // namespace qup::calc
