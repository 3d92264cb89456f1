#include "number/binary_float.h"

#include <cassert>
#include "number/digits.h"
#include "number/exact_decimal.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kPlainLowestExponent = -4;  // 0.0001 is still written plainly, 0.00001 as 1e-5
constexpr int kPlainExponentLimit = 16;   // 1e16 and above in exponent form

// Whether the layout reads bits as a NaN: decided by its kind.
bool IsNanPattern(const BinaryFormat& format, uint64_t bits) {
    const uint64_t magnitude = bits & ~format.SignMask();
    switch (format.kind) {
        case LayoutKind::kIeee:
            return (magnitude & format.ExponentMask()) == format.ExponentMask() &&
                   (magnitude & format.MantissaMask()) != 0;
        case LayoutKind::kFiniteNan: return magnitude == (format.ExponentMask() | format.MantissaMask());
        case LayoutKind::kUnsignedZero: return bits == format.SignMask();
        case LayoutKind::kAllFinite: return false;
        case LayoutKind::kPowerOfTwo: return bits == format.ExponentMask();
    }
    return false;
}

// Digit strings of equal length, most significant first.
std::size_t LastNonZero(const std::string& digits) {
    std::size_t last = digits.size();
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] != '0') last = i;
    }
    return last;  // digits.size() when all are zero
}

void Increment(std::string* digits) {
    for (std::size_t i = digits->size(); i-- > 0;) {
        if ((*digits)[i] != '9') {
            ++(*digits)[i];
            return;
        }
        (*digits)[i] = '0';
    }
}

void Decrement(std::string* digits) {
    for (std::size_t i = digits->size(); i-- > 0;) {
        if ((*digits)[i] != '0') {
            --(*digits)[i];
            return;
        }
        (*digits)[i] = '9';
    }
}

// Rounds digits (truncated after `keep` of them) to nearest, ties to the even digit.
void RoundAt(const std::string& digits, std::size_t keep, std::string* rounded) {
    rounded->assign(digits, 0, keep);
    if (keep >= digits.size()) return;
    const char next = digits[keep];
    bool up = next > '5';
    if (next == '5') {
        bool restNonZero = false;
        for (std::size_t i = keep + 1; i < digits.size() && !restNonZero; ++i) restNonZero = digits[i] != '0';
        up = restNonZero || ((rounded->back() - '0') & 1) != 0;
    }
    if (up) Increment(rounded);
}

}  // namespace

FloatFields DecodeFloat(const BinaryFormat& format, uint64_t bits) {
    assert(format.exponentBits >= 2 &&
           format.mantissaBits >= (format.kind == LayoutKind::kPowerOfTwo ? 0 : 1) &&
           format.TotalBits() <= 64);
    FloatFields fields;
    fields.negative = (bits & format.SignMask()) != 0;
    fields.biasedExponent = static_cast<int>((bits & format.ExponentMask()) >> format.mantissaBits);
    fields.mantissa = bits & format.MantissaMask();
    if (IsNanPattern(format, bits)) {
        fields.floatClass = !format.NanHasPayload()                      ? FloatClass::kNan
                            : (fields.mantissa & format.QuietBit()) != 0 ? FloatClass::kQuietNan
                                                                         : FloatClass::kSignalingNan;
        return fields;
    }
    if (format.HasInfinity() && fields.biasedExponent == format.MaxBiasedExponent()) {
        fields.floatClass = FloatClass::kInfinity;
        return fields;
    }
    if (fields.biasedExponent == 0 && format.HasSubnormals()) {
        fields.floatClass = fields.mantissa == 0 ? FloatClass::kZero : FloatClass::kSubnormal;
        fields.significand = fields.mantissa;
        fields.power = format.MinSubnormalExponent();
    } else {
        fields.floatClass = FloatClass::kNormal;
        fields.significand = fields.mantissa | format.HiddenBit();
        fields.power = fields.biasedExponent - format.Bias() - format.mantissaBits;
    }
    return fields;
}

bool IsFinite(const FloatFields& fields) {
    return fields.floatClass == FloatClass::kZero || fields.floatClass == FloatClass::kSubnormal ||
           fields.floatClass == FloatClass::kNormal;
}

bool IsNan(const FloatFields& fields) {
    return fields.floatClass == FloatClass::kQuietNan || fields.floatClass == FloatClass::kSignalingNan ||
           fields.floatClass == FloatClass::kNan;
}

uint64_t InfinityBits(const BinaryFormat& format, bool negative) {
    return format.ExponentMask() | (negative ? format.SignMask() : 0u);
}

uint64_t QuietNanBits(const BinaryFormat& format, bool negative) {
    const uint64_t sign = negative && format.HasSignedNan() ? format.SignMask() : 0u;
    switch (format.kind) {
        case LayoutKind::kIeee: return InfinityBits(format, negative) | format.QuietBit();
        case LayoutKind::kFiniteNan: return sign | format.ExponentMask() | format.MantissaMask();
        case LayoutKind::kUnsignedZero: return format.SignMask();
        case LayoutKind::kAllFinite: return 0;  // none: callers ask HasNan() first
        case LayoutKind::kPowerOfTwo: return format.ExponentMask();
    }
    return 0;
}

uint64_t LargestFiniteBits(const BinaryFormat& format, bool negative) {
    const uint64_t sign = negative ? format.SignMask() : 0u;
    const uint64_t exponent = static_cast<uint64_t>(format.MaxFiniteBiasedExponent()) << format.mantissaBits;
    const uint64_t mantissa =
        format.kind == LayoutKind::kFiniteNan ? format.MantissaMask() - 1 : format.MantissaMask();
    return sign | exponent | mantissa;
}

uint64_t NextUp(const BinaryFormat& format, uint64_t bits) {
    const FloatFields fields = DecodeFloat(format, bits);
    if (IsNan(fields) || (fields.floatClass == FloatClass::kInfinity && !fields.negative)) return bits;
    if (!format.HasInfinity() && !fields.negative && bits == LargestFiniteBits(format, false)) return bits;
    if (fields.floatClass == FloatClass::kZero) return 1;
    if (!fields.negative) return bits + 1;
    // Below the smallest negative subnormal lies zero; without a negative zero, that is +0.
    if (bits - 1 == format.SignMask() && !format.HasNegativeZero()) return 0;
    return bits - 1;
}

uint64_t NextDown(const BinaryFormat& format, uint64_t bits) {
    const FloatFields fields = DecodeFloat(format, bits);
    if (IsNan(fields)) return bits;
    if (!format.HasSign()) return fields.biasedExponent == 0 ? bits : bits - 1;
    if (fields.floatClass == FloatClass::kInfinity && fields.negative) return bits;
    if (!format.HasInfinity() && bits == LargestFiniteBits(format, true)) return bits;
    if (fields.floatClass == FloatClass::kZero) return format.SignMask() | 1;
    return fields.negative ? bits + 1 : bits - 1;
}

void AppendExactValue(const BinaryFormat& format, uint64_t bits, std::string* text) {
    const FloatFields fields = DecodeFloat(format, bits);
    if (IsNan(fields)) {
        *text += "nan";
    } else if (fields.floatClass == FloatClass::kInfinity) {
        *text += fields.negative ? "-inf" : "inf";
    } else {
        AppendPlainBinary(fields.significand, fields.power, fields.negative, text);
    }
}

void AppendUlp(const BinaryFormat& format, uint64_t bits, std::string* text) {
    const FloatFields fields = DecodeFloat(format, bits);
    assert(IsFinite(fields));
    AppendPlainBinary(1, fields.power, false, text);
}

void FindShortest(const BinaryFormat& format, uint64_t bits, ShortestDecimal* shortest) {
    AlignedHeads& ends = shortest->ends;
    std::string& candidate = shortest->candidate;
    std::string& limit = shortest->limit;
    const FloatFields fields = DecodeFloat(format, bits);
    shortest->digits.clear();
    shortest->point = 0;
    if (fields.significand == 0) return;

    // The rounding interval's ends are the midpoints to the neighbours, in units of 2^(power-2):
    // the lower one is nearer where the value starts a binade above the smallest normal one.
    const uint64_t m = fields.significand;
    const bool lowerNearer =
        fields.mantissa == 0 &&
        (fields.biasedExponent > 1 || (fields.biasedExponent == 1 && !format.HasSubnormals()));
    const bool endsIncluded = (m & 1) == 0;
    const uint64_t scaled[3] = {4 * m - (lowerNearer ? 1 : 2), 4 * m, 4 * m + 2};
    ExpandAlignedHeads(scaled, fields.power - 2, &ends);
    const std::string& low = ends.heads[0];
    const std::string& value = ends.heads[1];
    const std::string& high = ends.heads[2];
    const std::size_t length = high.size();
    const std::size_t lowLast = LastNonZero(low);
    const std::size_t highLast = LastNonZero(high);

    // A finite layout saturates: every number above its largest magnitude reads back to it, so that
    // value's interval has no upper end, and one significant digit, at the value's first, suffices.
    const bool unbounded = format.kind == LayoutKind::kAllFinite &&
                           (bits & ~format.SignMask()) == LargestFiniteBits(format, false);

    // The fewest digits (up to index p) that some number in the interval needs.
    std::size_t first = 0;
    while (low[first] == high[first]) ++first;
    std::size_t p = length;
    bool lowUp = false;     // the smallest candidate is low truncated at p plus one unit
    bool highDown = false;  // the largest is high truncated at p less one unit
    if (unbounded) {
        p = value.find_first_not_of('0');
        lowUp = lowLast > p || !endsIncluded;
    } else if (endsIncluded && lowLast < first) {
        p = lowLast;  // low itself, shorter than where the ends part
    } else {
        int gap = 0;  // high and low truncated at p, in units of p (capped: 2 already suffices)
        for (std::size_t k = first; k < length; ++k) {
            gap = (k == first ? 0 : gap * 10) + (high[k] - low[k]);
            if (gap > 9) gap = 9;
            lowUp = lowLast > k || !endsIncluded;
            highDown = highLast <= k && !endsIncluded;
            if (static_cast<int>(lowUp) + static_cast<int>(highDown) <= gap) {
                p = k;
                break;
            }
        }
    }

    // Where the interval holds 10^k (high's leading digit) and the value lies below it, one digit
    // one place further right is as short as 10^k itself and may be nearer.
    const std::size_t highLead = high.find_first_not_of('0');
    if (!unbounded && p == highLead && low[p] == '0' && value[p] == '0') {
        ++p;
        lowUp = lowLast > p || !endsIncluded;
        highDown = false;
    }

    // The one nearest the value, kept inside the interval.
    RoundAt(value, p + 1, &candidate);
    limit.assign(low, 0, p + 1);
    if (lowUp) Increment(&limit);
    if (candidate < limit) candidate = limit;
    if (!unbounded) {
        limit.assign(high, 0, p + 1);
        if (highDown) Decrement(&limit);
        if (candidate > limit) candidate = limit;
    }

    std::size_t start = 0;
    while (start < candidate.size() && candidate[start] == '0') ++start;
    std::size_t end = candidate.size();
    while (end > start && candidate[end - 1] == '0') --end;
    shortest->digits.assign(candidate, start, end - start);
    shortest->point = static_cast<int>(candidate.size() - start) + static_cast<int>(ends.fullLength - 1 - p) -
                      ends.fractionDigits;
}

void AppendShortest(const BinaryFormat& format, uint64_t bits, std::string* text) {
    ShortestDecimal scratch;
    AppendShortest(format, bits, &scratch, text);
}

void AppendShortest(const BinaryFormat& format, uint64_t bits, ShortestDecimal* scratch, std::string* text) {
    ShortestDecimal& shortest = *scratch;
    const FloatFields fields = DecodeFloat(format, bits);
    if (IsNan(fields)) {
        if (fields.floatClass == FloatClass::kNan ||
            (bits & ~format.SignMask()) == QuietNanBits(format, false)) {
            *text += fields.negative && format.HasSignedNan() ? "-nan" : "nan";
        } else {
            *text += "0x";
            AppendHexBits(bits, format.TotalBits(), text);
        }
        return;
    }
    if (fields.negative) *text += '-';
    if (fields.floatClass == FloatClass::kInfinity) {
        *text += "inf";
        return;
    }
    FindShortest(format, bits, &shortest);
    const std::string& d = shortest.digits;
    if (d.empty()) {
        *text += '0';
        return;
    }
    const int exponent = shortest.point - 1;
    const int count = static_cast<int>(d.size());
    if (exponent < kPlainLowestExponent || exponent >= kPlainExponentLimit) {
        *text += d[0];
        if (count > 1) {
            *text += '.';
            text->append(d, 1, std::string::npos);
        }
        *text += 'e';
        AppendSignedDecimal(exponent, text);
    } else if (exponent < 0) {
        *text += "0.";
        text->append(static_cast<std::size_t>(-exponent - 1), '0');
        *text += d;
    } else if (count <= exponent + 1) {
        *text += d;
        text->append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        text->append(d, 0, static_cast<std::size_t>(exponent + 1));
        *text += '.';
        text->append(d, static_cast<std::size_t>(exponent + 1), std::string::npos);
    }
}

void AppendHexBits(uint64_t bits, int totalBits, std::string* text) {
    assert(totalBits >= 1 && totalBits <= 64);
    char digits[16];
    const int count = (totalBits + 7) / 8 * 2;
    WriteHexDigits(bits, count, digits);
    text->append(digits, static_cast<std::size_t>(count));
}

}  // namespace cv
