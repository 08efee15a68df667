// SPDX-License-Identifier: MIT
// BigUint: schoolbook addition, multiplication by a small factor, shifts and decimal printing.
#include "fuzz/big_uint.h"

#include <algorithm>

namespace qup::fuzz {

BigUint::BigUint(std::uint64_t value) {
  limbs_ = {static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
  Trim();
}

BigUint BigUint::PowerOfTwo(unsigned exponent) {
  BigUint result(1);
  result <<= exponent;
  return result;
}

BigUint& BigUint::operator+=(const BigUint& other) {
  limbs_.resize(std::max(limbs_.size(), other.limbs_.size()) + 1, 0);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    const std::uint64_t sum = carry + limbs_[i] + (i < other.limbs_.size() ? other.limbs_[i] : 0);
    limbs_[i] = static_cast<std::uint32_t>(sum);
    carry = sum >> 32;
  }
  Trim();
  return *this;
}

BigUint& BigUint::operator*=(std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : limbs_) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  Trim();
  return *this;
}

BigUint& BigUint::operator<<=(unsigned bits) {
  if (limbs_.empty()) return *this;
  limbs_.insert(limbs_.begin(), bits / 32, 0);
  const unsigned shift = bits % 32;
  if (shift != 0) {
    std::uint32_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint32_t next_carry = limb >> (32 - shift);
      limb = (limb << shift) | carry;
      carry = next_carry;
    }
    if (carry != 0) limbs_.push_back(carry);
  }
  return *this;
}

BigUint& BigUint::operator>>=(unsigned bits) {
  const std::size_t whole = bits / 32;
  if (whole >= limbs_.size()) {
    limbs_.clear();
    return *this;
  }
  limbs_.erase(limbs_.begin(), limbs_.begin() + static_cast<std::ptrdiff_t>(whole));
  const unsigned shift = bits % 32;
  if (shift != 0) {
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const std::uint32_t high = i + 1 < limbs_.size() ? limbs_[i + 1] << (32 - shift) : 0;
      limbs_[i] = (limbs_[i] >> shift) | high;
    }
  }
  Trim();
  return *this;
}

std::string BigUint::ToDecimal() const {
  if (limbs_.empty()) return "0";
  BigUint rest = *this;
  std::string digits;
  while (!rest.limbs_.empty()) digits.push_back(static_cast<char>('0' + rest.DivideBy(10)));
  std::reverse(digits.begin(), digits.end());
  return digits;
}

void BigUint::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

std::uint32_t BigUint::DivideBy(std::uint32_t divisor) {
  std::uint64_t remainder = 0;
  for (std::size_t i = limbs_.size(); i-- > 0;) {
    const std::uint64_t current = (remainder << 32) | limbs_[i];
    limbs_[i] = static_cast<std::uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  Trim();
  return static_cast<std::uint32_t>(remainder);
}

}  // namespace qup::fuzz
