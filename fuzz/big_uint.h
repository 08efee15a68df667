// SPDX-License-Identifier: MIT
// BigUint: an unsigned integer of any size, just enough arithmetic to expand a double exactly.
#ifndef QUP_FUZZ_BIG_UINT_H
#define QUP_FUZZ_BIG_UINT_H

#include <cstdint>
#include <string>
#include <vector>

namespace qup::fuzz {

// Kept apart from the program's own formatting on purpose: the fuzzer checks the program against
// this plain schoolbook arithmetic, which shares no code or library call with it.
class BigUint {
 public:
  explicit BigUint(std::uint64_t value = 0);

  static BigUint PowerOfTwo(unsigned exponent);

  BigUint& operator+=(const BigUint& other);
  BigUint& operator*=(std::uint32_t factor);
  BigUint& operator<<=(unsigned bits);
  BigUint& operator>>=(unsigned bits);

  // Decimal digits without leading zeros; "0" for zero.
  std::string ToDecimal() const;

 private:
  void Trim();
  // Divides in place by divisor and returns the remainder.
  std::uint32_t DivideBy(std::uint32_t divisor);

  std::vector<std::uint32_t> limbs_;  // least significant first, no zero limb at the top
};

}  // namespace qup::fuzz

#endif  // QUP_FUZZ_BIG_UINT_H
