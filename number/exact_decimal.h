// Exact decimal expansions of binary values x * 2^q, the way every digit of a float is written:
// for q < 0 the digits are those of x * 5^-q with -q of them after the point, for q >= 0 those of
// x * 2^q. The powers are kept in base-10^9 limbs, so one expansion costs a pass over its digits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cv {

struct DecimalDigits {
    std::string digits;      // most significant first, no leading zero; empty for zero
    int fractionDigits = 0;  // how many of the digits (from the right) are after the point
};

// The exact digits of x * 2^q into *out (its buffer is reused).
void ExpandBinary(uint64_t x, int q, DecimalDigits* out);

// The leading digits of three values x[i] * 2^q (x[0] < x[1] < x[2]) for finding a short decimal
// between them: each heads[i] is its digits in one frame of fullLength digits (a leading zero
// included), cut two base-10^9 limbs below the first limb where x[0]'s and x[2]'s digits part, and
// ended by one marker digit, 1 when a non-zero digit was cut off, else 0 (no marker when nothing
// was cut). Only the cut costs digits, so this stays cheap for the longest expansions.
struct AlignedHeads {
    std::string heads[3];
    std::size_t fullLength = 0;
    int fractionDigits = 0;
};
void ExpandAlignedHeads(const uint64_t x[3], int q, AlignedHeads* out);

// Appends the plain decimal text of digits: "0" or "-0" for zero, no exponent, no trailing zero after
// the point, no point when nothing follows it.
void AppendPlain(const DecimalDigits& digits, bool negative, std::string* text);

// The digits of N * 2^twos * 5^fives (twos, fives >= 0) into *out, N given by its decimal digits
// (no leading zero): the exact digits of a value too wide for ExpandBinary.
void ScaleDecimalDigits(const std::string& digits, int twos, int fives, std::string* out);

// Appends a - b for two plain decimal texts (as AppendPlain writes them, "-0" too), exact, in plain
// decimal ("0" for zero): one pass over the aligned digits.
void AppendDecimalDifference(const std::string& a, const std::string& b, std::string* text);

// One signed part x * 2^q of a sum.
struct BinaryTerm {
    bool negative = false;
    uint64_t x = 0;
    int q = 0;
};

// Appends the plain decimal of the terms' exact sum ("0" for zero): each term expanded, then the
// expansions added in base-10^9 limbs, a pass each however far apart their powers lie.
void AppendBinarySum(const BinaryTerm* terms, int count, std::string* text);

// A signed sum of terms x * 2^q kept as base-10^9 limbs on one frame (a fixed number of digits after
// the point: the finest term's, so that it needs no shift), so that a term can then be taken from it: a
// rounded sum minus the exact one, its rounding error, without expanding the summed terms again. The caller
// keeps one across sums, so that its limbs are not allocated again.
class BinarySum {
public:
    // *this = the terms' exact sum, on a frame with at least minFractionDigits digits after the point.
    void Assign(const BinaryTerm* terms, int count, int minFractionDigits = 0);
    // *this = term - *this; false, and nothing changed, when the term has digits finer than the frame.
    bool SubtractFrom(const BinaryTerm& term);
    // Appends the plain decimal ("0" for zero).
    void Append(std::string* text) const;

private:
    std::vector<uint32_t> magnitude_;  // least significant limb first, no zero limb on top
    std::vector<uint32_t> other_;
    std::vector<uint32_t> expansion_;
    bool negative_ = false;
    int frameDigits_ = 0;  // after the point
};

// ExpandBinary then AppendPlain.
void AppendPlainBinary(uint64_t x, int q, bool negative, std::string* text);

}  // namespace cv
