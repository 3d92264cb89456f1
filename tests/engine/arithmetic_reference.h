// An exact model of the layouts' arithmetic for the differential tests, sharing no code with the
// engine: the layouts are decoded from their own rules here, each operation's exact result is kept
// as a natural number times a power of two (a quotient of two for /, the root of one for sqrt), and
// the rounded result is chosen by exact comparisons with the neighbours and their midpoint.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "number/arithmetic.h"
#include "number/ieee754.h"

namespace cvtest {

// A natural number in 32-bit limbs, least significant first, without leading zero limbs.
class Natural {
public:
    Natural() = default;
    explicit Natural(uint64_t value);

    bool IsZero() const { return limbs_.empty(); }
    int BitLength() const;
    int Compare(const Natural& other) const;
    void Add(const Natural& other);
    void Subtract(const Natural& smaller);  // *this >= smaller
    void ShiftLeft(int bits);
    Natural Times(const Natural& other) const;
    // Bits low .. low + 31 (those outside the number are zeros).
    uint32_t Window(int low) const;

private:
    void Trim();
    std::vector<uint32_t> limbs_;
};

// What the operation should give: the bits (or no result, in a layout without NaN) and the flags
// written as the test writes them ("invalid divide-by-zero overflow underflow inexact").
struct ReferenceResult {
    uint64_t bits = 0;
    bool noResult = false;
    std::string flags;
};

// The operation on the stored operands of a layout of any kind but e8m0fnu, rounded by the mode
// without saturation. False when an operand is a NaN (its propagation is checked case by case).
bool ReferenceArithmetic(const cv::BinaryFormat& format, cv::Operation operation, const uint64_t* operands,
                         cv::RoundingMode mode, ReferenceResult* result);

}  // namespace cvtest
