#include "arithmetic_reference.h"

#include <algorithm>
#include <utility>

namespace cvtest {

using cv::LayoutKind;
using cv::Operation;
using cv::RoundingMode;

Natural::Natural(uint64_t value) {
    if (value >> 32 != 0) {
        limbs_ = {static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
    } else if (value != 0) {
        limbs_ = {static_cast<uint32_t>(value)};
    }
}

int Natural::BitLength() const {
    if (limbs_.empty()) return 0;
    int top = 0;
    for (uint32_t high = limbs_.back(); high != 0; high >>= 1) ++top;
    return 32 * static_cast<int>(limbs_.size() - 1) + top;
}

int Natural::Compare(const Natural& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size() ? -1 : 1;
    for (size_t i = limbs_.size(); i-- > 0;) {
        if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i] ? -1 : 1;
    }
    return 0;
}

void Natural::Add(const Natural& other) {
    if (other.limbs_.size() > limbs_.size()) limbs_.resize(other.limbs_.size(), 0);
    uint64_t carry = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
        carry += limbs_[i];
        if (i < other.limbs_.size()) carry += other.limbs_[i];
        limbs_[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
}

void Natural::Subtract(const Natural& smaller) {
    int64_t borrow = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
        int64_t difference = static_cast<int64_t>(limbs_[i]) - borrow;
        if (i < smaller.limbs_.size()) difference -= smaller.limbs_[i];
        borrow = difference < 0 ? 1 : 0;
        limbs_[i] = static_cast<uint32_t>(difference + (borrow << 32));
    }
    Trim();
}

void Natural::ShiftLeft(int bits) {
    if (limbs_.empty() || bits == 0) return;
    const int whole = bits / 32;
    const int part = bits % 32;
    limbs_.insert(limbs_.begin(), static_cast<size_t>(whole), 0u);
    if (part == 0) return;
    uint32_t carry = 0;
    for (size_t i = static_cast<size_t>(whole); i < limbs_.size(); ++i) {
        const uint32_t limb = limbs_[i];
        limbs_[i] = (limb << part) | carry;
        carry = limb >> (32 - part);
    }
    if (carry != 0) limbs_.push_back(carry);
}

Natural Natural::Times(const Natural& other) const {
    Natural product;
    if (IsZero() || other.IsZero()) return product;
    product.limbs_.assign(limbs_.size() + other.limbs_.size(), 0);
    for (size_t i = 0; i < limbs_.size(); ++i) {
        uint64_t carry = 0;
        for (size_t j = 0; j < other.limbs_.size(); ++j) {
            carry += static_cast<uint64_t>(limbs_[i]) * other.limbs_[j] + product.limbs_[i + j];
            product.limbs_[i + j] = static_cast<uint32_t>(carry);
            carry >>= 32;
        }
        product.limbs_[i + other.limbs_.size()] = static_cast<uint32_t>(carry);
    }
    product.Trim();
    return product;
}

uint32_t Natural::Window(int low) const {
    const auto limb = [this](int i) -> uint64_t {
        return i < 0 || i >= static_cast<int>(limbs_.size()) ? 0 : limbs_[static_cast<size_t>(i)];
    };
    const int index = low >= 0 ? low / 32 : -((31 - low) / 32);  // rounded down
    return static_cast<uint32_t>((limb(index) | limb(index + 1) << 32) >> (low - 32 * index));
}

void Natural::Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

namespace {

// A natural number below 2^64 read as Natural reads (comparing with one allocates nothing).
struct Small {
    uint64_t value;
    bool IsZero() const { return value == 0; }
    int BitLength() const {
        int length = 0;
        for (uint64_t rest = value; rest != 0; rest >>= 1) ++length;
        return length;
    }
    uint32_t Window(int low) const {
        if (low <= -32 || low >= 64) return 0;
        return static_cast<uint32_t>(low < 0 ? value << -low : value >> low);
    }
};

// The sign of a * 2^aPower - b * 2^bPower, limb by limb from the top (the operands differ in their
// top limbs in most comparisons, so this seldom reads far).
template <typename A, typename B>
int CompareScaled(const A& a, int aPower, const B& b, int bPower) {
    if (a.IsZero() || b.IsZero()) return (a.IsZero() ? 0 : 1) - (b.IsZero() ? 0 : 1);
    const int aTop = a.BitLength() + aPower;
    const int bTop = b.BitLength() + bPower;
    if (aTop != bTop) return aTop < bTop ? -1 : 1;
    const int low = std::min(aPower, bPower);
    for (int bit = aTop - low; bit > 0; bit -= 32) {
        const uint32_t x = a.Window(bit - 32 - (aPower - low));
        const uint32_t y = b.Window(bit - 32 - (bPower - low));
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

// A non-zero exact magnitude: num * 2^power, num / den * 2^power, or sqrt(num * 2^power).
struct Magnitude {
    enum class Form { kDyadic, kQuotient, kRoot };
    Form form = Form::kDyadic;
    Natural num;
    Natural den;
    int power = 0;
};

// The sign of x - n * 2^power.
int CompareWith(const Magnitude& x, uint64_t n, int power) {
    switch (x.form) {
        case Magnitude::Form::kDyadic: return CompareScaled(x.num, x.power, Small{n}, power);
        case Magnitude::Form::kQuotient: return CompareScaled(x.num, x.power, Natural(n).Times(x.den), power);
        case Magnitude::Form::kRoot:
            return CompareScaled(x.num, x.power, Natural(n).Times(Natural(n)), 2 * power);
    }
    return 0;
}

// p with 2^p <= x < 2^(p + 1).
int Binade(const Magnitude& x) {
    const int top = x.num.BitLength() - 1 + x.power;
    int p = x.form == Magnitude::Form::kRoot       ? top / 2
            : x.form == Magnitude::Form::kQuotient ? top - (x.den.BitLength() - 1)
                                                   : top;
    while (CompareWith(x, 1, p) < 0) --p;
    while (CompareWith(x, 1, p + 1) >= 0) ++p;
    return p;
}

// x < 2^(bits + power): the multiple of 2^power x rounds to by the mode, counted in 2^power.
uint64_t RoundToMultiple(const Magnitude& x, int bits, int power, RoundingMode mode, bool negative,
                         bool* exact) {
    // The largest count whose multiple is at most x: a dyadic's bits from 2^power up, else found bit
    // by bit by comparisons.
    uint64_t below = 0;
    if (x.form == Magnitude::Form::kDyadic) {
        const int low = power - x.power;
        below = x.num.Window(low) | static_cast<uint64_t>(x.num.Window(low + 32)) << 32;
    } else {
        for (int bit = bits - 1; bit >= 0; --bit) {
            const uint64_t trial = below | uint64_t{1} << bit;
            if (CompareWith(x, trial, power) >= 0) below = trial;
        }
    }
    *exact = CompareWith(x, below, power) == 0;
    const int half = CompareWith(x, 2 * below + 1, power - 1);
    bool up = false;
    switch (mode) {
        case RoundingMode::kEven: up = half > 0 || (half == 0 && (below & 1) != 0); break;
        case RoundingMode::kAway: up = half >= 0; break;
        case RoundingMode::kZero: break;
        case RoundingMode::kUp: up = !negative && !*exact; break;
        case RoundingMode::kDown: up = negative && !*exact; break;
    }
    return below + (up ? 1 : 0);
}

// The layout, from its widths and its kind.
struct Layout {
    int mantissaBits = 0;
    LayoutKind kind = LayoutKind::kIeee;
    uint64_t signMask = 0;
    uint64_t exponentField = 0;  // all ones
    int bias = 0;
    int minNormal = 0;
    uint64_t largestBits = 0;
    uint64_t largestSignificand = 0;
    int largestPower = 0;

    explicit Layout(const cv::BinaryFormat& f) : mantissaBits(f.mantissaBits), kind(f.kind) {
        const int m = f.mantissaBits;
        signMask = uint64_t{1} << (f.exponentBits + m);
        exponentField = (uint64_t{1} << f.exponentBits) - 1;
        bias = (1 << (f.exponentBits - 1)) - (kind == LayoutKind::kUnsignedZero ? 0 : 1);
        minNormal = 1 - bias;
        const uint64_t topExponent = kind == LayoutKind::kIeee ? exponentField - 1 : exponentField;
        const uint64_t topMantissa = (uint64_t{1} << m) - (kind == LayoutKind::kFiniteNan ? 2 : 1);
        largestBits = topExponent << m | topMantissa;
        largestSignificand = uint64_t{1} << m | topMantissa;
        largestPower = static_cast<int>(topExponent) - bias - m;
    }
    bool HasNan() const { return kind != LayoutKind::kAllFinite; }
    uint64_t NanBits(bool negative) const {
        const uint64_t sign = negative ? signMask : 0;
        switch (kind) {
            case LayoutKind::kIeee:
                return sign | exponentField << mantissaBits | uint64_t{1} << (mantissaBits - 1);
            case LayoutKind::kFiniteNan:
                return sign | exponentField << mantissaBits | ((uint64_t{1} << mantissaBits) - 1);
            default: return signMask;
        }
    }
    // An infinity of the sign, or where there is none the NaN standing for it, or the largest value.
    uint64_t InfinityBits(bool negative) const {
        if (kind == LayoutKind::kIeee) return (negative ? signMask : 0) | exponentField << mantissaBits;
        if (kind == LayoutKind::kAllFinite) return LargestBits(negative);
        return NanBits(negative);
    }
    uint64_t LargestBits(bool negative) const { return (negative ? signMask : 0) | largestBits; }
    uint64_t ZeroBits(bool negative) const {
        return negative && kind != LayoutKind::kUnsignedZero ? signMask : 0;
    }
};

// A decoded operand; a finite one is sign * significand * 2^power.
struct Value {
    bool nan = false;
    bool infinite = false;
    bool negative = false;
    Natural significand;
    int power = 0;
    bool IsZero() const { return !infinite && significand.IsZero(); }
};

Value Decode(const Layout& layout, uint64_t bits) {
    const int m = layout.mantissaBits;
    const uint64_t exponent = bits >> m & layout.exponentField;
    const uint64_t mantissa = bits & ((uint64_t{1} << m) - 1);
    Value v;
    v.negative = (bits & layout.signMask) != 0;
    const bool topExponent = exponent == layout.exponentField;
    switch (layout.kind) {
        case LayoutKind::kIeee:
            v.nan = topExponent && mantissa != 0;
            v.infinite = topExponent && mantissa == 0;
            break;
        case LayoutKind::kFiniteNan: v.nan = topExponent && mantissa == (uint64_t{1} << m) - 1; break;
        case LayoutKind::kUnsignedZero: v.nan = bits == layout.signMask; break;
        default: break;
    }
    if (v.nan || v.infinite) return v;
    v.significand = Natural(exponent == 0 ? mantissa : mantissa | uint64_t{1} << m);
    v.power = static_cast<int>(exponent == 0 ? 1 : exponent) - layout.bias - m;
    return v;
}

// sign * m * 2^power, exact.
struct Signed {
    bool negative = false;
    Natural m;
    int power = 0;
};

// An exact zero sum of opposite signs is +0 but rounding down; zeros of one sign keep it.
Signed Sum(Signed a, Signed b, RoundingMode mode) {
    if (a.m.IsZero() && b.m.IsZero()) {
        a.negative = a.negative == b.negative ? a.negative : mode == RoundingMode::kDown;
        return a;
    }
    if (a.m.IsZero()) return b;
    if (b.m.IsZero()) return a;
    const int low = std::min(a.power, b.power);
    a.m.ShiftLeft(a.power - low);
    b.m.ShiftLeft(b.power - low);
    a.power = low;
    if (a.negative == b.negative) {
        a.m.Add(b.m);
        return a;
    }
    const int order = a.m.Compare(b.m);
    if (order == 0) return Signed{mode == RoundingMode::kDown, Natural(), low};
    Signed& larger = order > 0 ? a : b;
    larger.m.Subtract(order > 0 ? b.m : a.m);
    larger.power = low;
    return larger;
}

Signed Product(const Value& a, const Value& b) {
    return Signed{a.negative != b.negative, a.significand.Times(b.significand), a.power + b.power};
}

Signed AsSigned(const Value& v, bool flip = false) {
    return Signed{v.negative != flip, v.significand, v.power};
}

std::string FlagText(bool invalid, bool divide, bool overflow, bool underflow, bool inexact) {
    std::string text;
    for (const auto& [on, name] : {std::pair{invalid, "invalid"},
                                   {divide, "divide-by-zero"},
                                   {overflow, "overflow"},
                                   {underflow, "underflow"},
                                   {inexact, "inexact"}}) {
        if (!on) continue;
        if (!text.empty()) text += ' ';
        text += name;
    }
    return text;
}

bool OverflowIsInfinite(RoundingMode mode, bool negative) {
    return mode == RoundingMode::kEven || mode == RoundingMode::kAway ||
           (mode == RoundingMode::kUp && !negative) || (mode == RoundingMode::kDown && negative);
}

// The non-zero magnitude x of the sign rounded into the layout.
ReferenceResult Round(const Layout& layout, const Magnitude& x, bool negative, RoundingMode mode) {
    const int m = layout.mantissaBits;
    const int binade = Binade(x);
    const int power = std::max(binade, layout.minNormal) - m;
    bool exact = false;
    uint64_t count = RoundToMultiple(x, m + 1, power, mode, negative, &exact);
    ReferenceResult result;
    if (CompareScaled(Small{count}, power, Small{layout.largestSignificand}, layout.largestPower) > 0) {
        result.bits =
            OverflowIsInfinite(mode, negative) ? layout.InfinityBits(negative) : layout.LargestBits(negative);
        result.flags = FlagText(false, false, true, false, true);
        return result;
    }
    bool tiny = false;
    if (binade < layout.minNormal) {  // tiny: below the smallest normal once rounded to the precision
        bool unboundedExact = false;
        const uint64_t unbounded = RoundToMultiple(x, m + 1, binade - m, mode, negative, &unboundedExact);
        tiny = CompareScaled(Small{unbounded}, binade - m, Small{1}, layout.minNormal) < 0;
    }
    result.bits = count == 0 ? layout.ZeroBits(negative) : negative ? layout.signMask : 0;
    if (count >> (m + 1) != 0) {  // rounded up into the next binade
        count >>= 1;
        result.bits |= static_cast<uint64_t>(power + 1 + m + layout.bias) << m | (count - (uint64_t{1} << m));
    } else if (count >> m != 0) {
        result.bits |= static_cast<uint64_t>(power + m + layout.bias) << m | (count - (uint64_t{1} << m));
    } else {
        result.bits |= count;  // a subnormal or zero
    }
    result.flags = FlagText(false, false, false, tiny && !exact, !exact);
    return result;
}

}  // namespace

bool ReferenceArithmetic(const cv::BinaryFormat& format, Operation operation, const uint64_t* operands,
                         RoundingMode mode, ReferenceResult* result) {
    const Layout layout(format);
    Value v[3];
    for (int i = 0; i < cv::OperandCount(operation); ++i) {
        v[i] = Decode(layout, operands[i]);
        if (v[i].nan) return false;
    }
    *result = ReferenceResult();
    const auto invalid = [&] {
        result->noResult = !layout.HasNan();
        result->bits = layout.HasNan() ? layout.NanBits(false) : 0;
        result->flags = FlagText(true, false, false, false, false);
        return true;
    };
    // Without infinities, an infinite result gives what an overflow gives (without its flags).
    const auto infinite = [&](bool negative, bool divide) {
        result->bits = layout.kind == LayoutKind::kIeee || OverflowIsInfinite(mode, negative)
                           ? layout.InfinityBits(negative)
                           : layout.LargestBits(negative);
        result->flags = FlagText(false, divide, false, false, false);
        return true;
    };
    const Value& a = v[0];
    const Value& b = v[1];
    Signed exact;
    Magnitude x;
    switch (operation) {
        case Operation::kAdd:
        case Operation::kSubtract: {
            const bool bNegative = b.negative != (operation == Operation::kSubtract);
            if (a.infinite && b.infinite && a.negative != bNegative) return invalid();
            if (a.infinite || b.infinite) return infinite(a.infinite ? a.negative : bNegative, false);
            exact = Sum(AsSigned(a), AsSigned(b, operation == Operation::kSubtract), mode);
            break;
        }
        case Operation::kMultiply:
            if ((a.infinite || b.infinite) && (a.IsZero() || b.IsZero())) return invalid();
            if (a.infinite || b.infinite) return infinite(a.negative != b.negative, false);
            exact = Product(a, b);
            break;
        case Operation::kDivide:
            if ((a.infinite && b.infinite) || (a.IsZero() && b.IsZero())) return invalid();
            if (a.infinite || b.IsZero()) return infinite(a.negative != b.negative, !a.infinite);
            if (a.IsZero() || b.infinite) {
                exact = Signed{a.negative != b.negative, Natural(), 0};
                break;
            }
            exact = Signed{a.negative != b.negative, a.significand, a.power - b.power};
            x.form = Magnitude::Form::kQuotient;
            x.den = b.significand;
            break;
        case Operation::kSqrt:
            if (a.negative && !a.IsZero()) return invalid();
            if (a.infinite) return infinite(false, false);
            exact = AsSigned(a);
            x.form = Magnitude::Form::kRoot;
            break;
        case Operation::kFma: {
            const Value& c = v[2];
            const bool productNegative = a.negative != b.negative;
            if ((a.infinite || b.infinite) && (a.IsZero() || b.IsZero())) return invalid();
            if ((a.infinite || b.infinite) && c.infinite && c.negative != productNegative) return invalid();
            if (a.infinite || b.infinite) return infinite(productNegative, false);
            if (c.infinite) return infinite(c.negative, false);
            exact = Sum(Product(a, b), AsSigned(c), mode);
            break;
        }
    }
    if (exact.m.IsZero()) {
        result->bits = layout.ZeroBits(exact.negative);
        return true;
    }
    x.num = std::move(exact.m);
    x.power = exact.power;
    *result = Round(layout, x, exact.negative, mode);
    return true;
}

}  // namespace cvtest
