// An arbitrary-precision natural number in 32-bit limbs: what exact decimal-to-binary conversion
// needs (building a decimal's digits, powers of five and ten, scaling by powers of two, comparing
// and subtracting for a quotient bit by bit), plus its own decimal text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cv {

class BigNumber {
public:
    BigNumber() = default;
    explicit BigNumber(uint64_t value) { Assign(value); }

    void Assign(uint64_t value);
    bool IsZero() const { return limbs_.empty(); }
    int BitLength() const;
    // Bit n (0 is the lowest).
    bool Bit(int n) const;

    // *this = *this * factor + addend.
    void MultiplyAdd(uint32_t factor, uint32_t addend);
    void Multiply(const BigNumber& other);
    void MultiplyByPowerOfFive(int exponent);
    void MultiplyByPowerOfTen(int exponent);
    void ShiftLeft(int bits);
    void ShiftRight(int bits);
    void Add(const BigNumber& other);
    // Requires *this >= other.
    void Subtract(const BigNumber& other);
    // *quotient = floor(*this / divisor) and *this the remainder (divisor not zero), a limb of the
    // quotient at a time.
    void DivideModulo(const BigNumber& divisor, BigNumber* quotient);
    // -1, 0 or 1 as *this is below, equal to or above other.
    int Compare(const BigNumber& other) const;

    // The lowest 64 bits.
    uint64_t Low64() const;
    // Plain decimal digits, "0" for zero.
    std::string ToDecimal() const;

private:
    void Trim();

    std::vector<uint32_t> limbs_;  // least significant first, no zero limb on top
};

}  // namespace cv
