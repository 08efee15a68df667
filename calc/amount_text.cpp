// SPDX-License-Identifier: MIT
// Amount texts: cleaning, reading and writing numbers without the C library's locale.
#include "calc/amount_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace qup::calc {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A double's fraction ends within 1074 decimal places (the smallest subnormal is 2^-1074), and
// its integer part has at most 309 digits, so this many places print every double exactly.
constexpr int kExactPlaces = 1074;
constexpr std::size_t kExactBufferSize = 309 + 1 + kExactPlaces + 8;

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
  const auto [ptr, error] =
      std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    // Either too large for a double or a tiny fraction below the smallest one.
    return IsDigit(text[0]) && WholeNumberPart(text) > 0 ? std::numeric_limits<double>::max() : 0.0;
  }
  return error == std::errc() ? value : 0.0;
}

std::string FormatTwoDecimals(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : "inf";
  // Print the exact expansion, then round it by hand: the C library rounds exact ties to even.
  std::array<char, kExactBufferSize> exact{};
  const auto [end, error] = std::to_chars(exact.data(), exact.data() + exact.size(),
                                          std::fabs(value), std::chars_format::fixed, kExactPlaces);
  if (error != std::errc()) return "0.00";
  std::string_view digits(exact.data(), static_cast<std::size_t>(end - exact.data()));
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
