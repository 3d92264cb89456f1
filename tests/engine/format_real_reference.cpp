#include "tests/engine/format_real_reference.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace cvtest {
namespace {

// A non-negative integer in base 10^9, least significant limb first; size 0 for zero. 128 limbs
// (1152 digits) hold the largest expansion needed: a 128-bit number times 5^1100.
struct Decimal {
    static constexpr int kMaxLimbs = 128;
    int size = 0;
    uint32_t limb[kMaxLimbs];
};
constexpr uint32_t kBase = 1000000000u;

Decimal FromUint64(uint64_t value) {
    Decimal result;
    for (; value != 0; value /= kBase) result.limb[result.size++] = static_cast<uint32_t>(value % kBase);
    return result;
}

Decimal Multiply(const Decimal& a, const Decimal& b) {
    Decimal result;
    if (a.size == 0 || b.size == 0) return result;
    if (a.size + b.size > Decimal::kMaxLimbs) std::abort();
    result.size = a.size + b.size;
    std::memset(result.limb, 0, sizeof result.limb);
    for (int i = 0; i < a.size; ++i) {
        uint64_t carry = 0;
        for (int j = 0; j < b.size; ++j) {
            const uint64_t current =
                result.limb[i + j] + static_cast<uint64_t>(a.limb[i]) * b.limb[j] + carry;
            result.limb[i + j] = static_cast<uint32_t>(current % kBase);
            carry = current / kBase;
        }
        result.limb[i + b.size] = static_cast<uint32_t>(carry);  // still zero before: carry < kBase
    }
    while (result.size > 0 && result.limb[result.size - 1] == 0) --result.size;
    return result;
}

Decimal Add(const Decimal& a, const Decimal& b) {
    Decimal result;
    uint32_t carry = 0;
    for (int i = 0; i < a.size || i < b.size || carry != 0; ++i) {
        const uint32_t limb = carry + (i < a.size ? a.limb[i] : 0) + (i < b.size ? b.limb[i] : 0);
        carry = limb >= kBase ? 1 : 0;
        result.limb[result.size++] = limb - carry * kBase;
    }
    return result;
}

// base^n, cached: powers[n] = powers[n - 1] * base.
const Decimal& Power(std::vector<Decimal>& powers, uint32_t base, int n) {
    if (powers.empty()) powers.push_back(FromUint64(1));
    while (static_cast<int>(powers.size()) <= n) powers.push_back(Multiply(powers.back(), FromUint64(base)));
    return powers[n];
}

const Decimal& PowerOfTwo(int n) {
    static std::vector<Decimal> powers;
    return Power(powers, 2, n);
}

const Decimal& PowerOfFive(int n) {
    static std::vector<Decimal> powers;
    return Power(powers, 5, n);
}

// Increments the digit string digits[0..length); returns false when it was all nines (then it is
// all zeros and the caller puts the new leading 1).
bool Increment(char* digits, int length) {
    for (int i = length - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

// Writes the first `keep` digits of `source` (zeros past its end) into out, rounded half up on the
// next digit; returns the length, keep + 1 when the rounding carried into a new leading digit.
int RoundHalfUp(const char* source, int keep, char* out) {
    const int length = static_cast<int>(std::strlen(source));
    auto digitAt = [&](int i) { return i < length ? source[i] : '0'; };
    for (int i = 0; i < keep; ++i) out[i + 1] = digitAt(i);
    out[0] = '0';
    if (digitAt(keep) >= '5' && !Increment(out + 1, keep)) {
        out[0] = '1';
        return keep + 1;
    }
    std::memmove(out, out + 1, keep);
    return keep;
}

void StripZerosAfterPoint(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    while (text.back() == '0') text.pop_back();
}

// Appends the decimal digits of one limb: all nine, or without leading zeros for the top limb.
void AppendLimb(ExactDecimal& result, uint32_t limb, bool top) {
    char digits[9];
    for (int i = 8; i >= 0; --i, limb /= 10) digits[i] = static_cast<char>('0' + limb % 10);
    int first = 0;
    while (top && first < 8 && digits[first] == '0') ++first;
    for (int i = first; i < 9; ++i) {
        if (result.leadLength < ExactDecimal::kLeadDigits) {
            result.lead[result.leadLength++] = digits[i];
        } else {
            result.restNonZero |= digits[i] != '0';
        }
    }
}

}  // namespace

ExactDecimal ExpandBinary(uint64_t high, uint64_t low, int exponent) {
    const Decimal significand =
        high == 0 ? FromUint64(low) : Add(Multiply(FromUint64(high), PowerOfTwo(64)), FromUint64(low));
    // m * 2^e is an integer for e >= 0; for e < 0 it is m * 5^-e / 10^-e.
    const Decimal scaled = exponent >= 0 ? Multiply(significand, PowerOfTwo(exponent))
                                         : Multiply(significand, PowerOfFive(-exponent));
    ExactDecimal result;
    if (scaled.size == 0) return result;
    int next = scaled.size - 1;
    AppendLimb(result, scaled.limb[next], true);
    const int topDigits = result.leadLength;
    while (next > 0 && result.leadLength < ExactDecimal::kLeadDigits)
        AppendLimb(result, scaled.limb[--next], false);
    while (next > 0) result.restNonZero |= scaled.limb[--next] != 0;
    result.lead[result.leadLength] = '\0';
    result.point = topDigits + 9 * (scaled.size - 1) + (exponent < 0 ? exponent : 0);
    return result;
}

ExactDecimal ExpandDouble(double value) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // |value| = fraction * 2^exponent
    const uint64_t significand = static_cast<uint64_t>(std::ldexp(fraction, 53));  // exact: 53 bits
    return ExpandBinary(0, significand, exponent - 53);
}

int RoundTo17(const ExactDecimal& exact, char digits17[18]) {
    auto digitAt = [&](int i) { return i < exact.leadLength ? exact.lead[i] : '0'; };
    for (int i = 0; i < 17; ++i) digits17[i] = digitAt(i);
    digits17[17] = '\0';
    bool beyond = exact.restNonZero;
    for (int i = 18; i < exact.leadLength; ++i) beyond |= exact.lead[i] != '0';
    const char first = digitAt(17);
    const bool odd = (digits17[16] - '0') % 2 == 1;
    if (first > '5' || (first == '5' && (beyond || odd))) {
        if (!Increment(digits17, 17)) {  // 99...9 became 100...0: one more integer digit
            digits17[0] = '1';
            return exact.point + 1;
        }
    }
    return exact.point;
}

std::string ReferenceText(bool negative, const char* digits17, int point, int digits) {
    const int e = point - 1;
    std::string text = negative ? "-" : "";
    char rounded[64];
    if (e < -1 || e > digits - 1) {
        // %.(digits-1)e of d.ddd x 10^e
        int length = RoundHalfUp(digits17, digits, rounded);
        int shown = e;
        if (length > digits) {  // 9.99 became 10.00
            --length;
            ++shown;
        }
        text += rounded[0];
        text += '.';
        text.append(rounded + 1, rounded + length);
        StripZerosAfterPoint(text);
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "e%c%03d", shown < 0 ? '-' : '+', std::abs(shown));
        return text + exponentText;
    }
    // %.Ff with F = digits - point, of the number with `point` integer digits (point >= 0 here).
    const int fractionDigits = digits - point;
    char number[24] = "0";
    std::memcpy(number + (point == 0 ? 1 : 0), digits17, 18);
    const int integerLength = point == 0 ? 1 : point;
    const int length = RoundHalfUp(number, integerLength + fractionDigits, rounded);
    text.append(rounded, rounded + length - fractionDigits);
    if (fractionDigits > 0) {
        text += '.';
        text.append(rounded + length - fractionDigits, rounded + length);
    }
    StripZerosAfterPoint(text);
    return text;
}

std::string ReferenceFormat(double value, int digits) {
    char digits17[18];
    const int point = RoundTo17(ExpandDouble(value), digits17);
    return ReferenceText(std::signbit(value), digits17, point, digits);
}

}  // namespace cvtest
