#include "number/arithmetic.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "number/binary_float.h"
#include "number/digits.h"
#include "number/exact_decimal.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

// Root bits beyond a layout's mantissa: with them, r + 1/2 for a root in (r, r + 1) lies in the
// same gap between two of the layout's midpoints as the root itself (the rounding probe of
// e8m0fnu keeps two mantissa bits, hence the floor).
constexpr int kRootGuardBits = 5;
constexpr int kProbeMantissaBits = 2;
// The root bits tried first when writing digits of an irrational root or its error (enough for
// kCutDigits digits and a double's error below them); doubled until the digits are certain.
constexpr int kFirstDigitRootBits = 200;
constexpr double kLog10Of2 = 0.30102999566398119521;

bool IsZero(const FloatFields& f) {
    return f.floatClass == FloatClass::kZero;
}
bool IsInfinity(const FloatFields& f) {
    return f.floatClass == FloatClass::kInfinity;
}

// A finite operand's signed magnitude significand * 2^power.
struct Dyadic {
    bool negative = false;
    BigNumber significand;
    int power = 0;
};

Dyadic DyadicOf(const FloatFields& f, bool flipSign = false) {
    Dyadic d;
    d.negative = f.negative != flipSign;
    d.significand.Assign(f.significand);
    d.power = f.power;
    return d;
}

void SetFinite(ExactValue* exact, bool negative, BigNumber num, int power) {
    exact->kind = ExactValue::Kind::kFinite;
    exact->negative = negative;
    exact->num = std::move(num);
    exact->den = 1;
    exact->power = power;
    exact->root = false;
}

// Keeps the dyadic (of at most 128 bits) as the value's next terms.
void AddTerms(const Dyadic& d, ExactValue* exact) {
    constexpr int kChunkBits = 64;
    BigNumber rest = d.significand;
    for (int power = d.power; !rest.IsZero(); power += kChunkBits) {
        assert(exact->termCount < ExactValue::kMostTerms);
        const uint64_t chunk = rest.Low64();
        if (chunk != 0) exact->terms[exact->termCount++] = ExactValue::Term{d.negative, chunk, power};
        rest.ShiftRight(kChunkBits);
    }
}

// The exact sum; an exact zero of opposite signs (or a zero sum) takes the sign the mode gives,
// two zeros of one sign keep it.
void Sum(const Dyadic& a, const Dyadic& b, RoundingMode mode, ExactValue* exact) {
    const bool aZero = a.significand.IsZero();
    const bool bZero = b.significand.IsZero();
    if (aZero && bZero) {
        SetFinite(exact, a.negative == b.negative ? a.negative : mode == RoundingMode::kDown, BigNumber(), 0);
        return;
    }
    if (aZero || bZero) {
        const Dyadic& value = aZero ? b : a;
        SetFinite(exact, value.negative, value.significand, value.power);
        return;
    }
    const int low = std::min(a.power, b.power);
    BigNumber x = a.significand;
    BigNumber y = b.significand;
    x.ShiftLeft(a.power - low);
    y.ShiftLeft(b.power - low);
    if (a.negative == b.negative) {
        x.Add(y);
        SetFinite(exact, a.negative, std::move(x), low);
        return;
    }
    const int order = x.Compare(y);
    if (order == 0) {
        SetFinite(exact, mode == RoundingMode::kDown, BigNumber(), 0);
    } else if (order > 0) {
        x.Subtract(y);
        SetFinite(exact, a.negative, std::move(x), low);
    } else {
        y.Subtract(x);
        SetFinite(exact, b.negative, std::move(y), low);
    }
}

Dyadic Product(const FloatFields& a, const FloatFields& b) {
    Dyadic d;
    d.negative = a.negative != b.negative;
    d.significand.Assign(a.significand);
    d.significand.Multiply(BigNumber(b.significand));
    d.power = a.power + b.power;
    return d;
}

// floor(sqrt(x)) of a 64-bit x, by Newton's steps down from a power of two above the root.
uint64_t SquareRoot64(uint64_t x) {
    if (x < 2) return x;
    int bits = 0;
    while (bits < 64 && (x >> bits) != 0) ++bits;
    uint64_t root = uint64_t{1} << ((bits + 1) / 2);
    for (;;) {
        const uint64_t next = (root + x / root) / 2;
        if (next >= root) return root;
        root = next;
    }
}

// floor(sqrt(n)), and whether it is exact: Newton's steps down from a value above the root, each
// floor((x + n / x) / 2), until they stop falling. The start is the root of n's top 62 bits or
// so (its shift even), plus one, shifted back: above sqrt(n) and already right to about 31 bits,
// so that a 200-bit root takes three steps, not eight.
BigNumber SquareRoot(const BigNumber& n, bool* exact) {
    if (n.IsZero()) {
        *exact = true;
        return BigNumber();
    }
    constexpr int kTopBits = 62;
    const int shift = std::max(0, n.BitLength() - kTopBits + 1) & ~1;
    BigNumber top = n;
    top.ShiftRight(shift);
    BigNumber root(SquareRoot64(top.Low64()) + 1);  // sqrt(n) < (sqrt(top) + 1) * 2^(shift / 2)
    root.ShiftLeft(shift / 2);
    BigNumber quotient;
    BigNumber rest;
    for (;;) {
        rest = n;
        rest.DivideModulo(root, &quotient);
        quotient.Add(root);
        quotient.ShiftRight(1);
        if (quotient.Compare(root) >= 0) break;
        root = quotient;
    }
    BigNumber square = root;
    square.Multiply(root);
    *exact = square.Compare(n) == 0;
    return root;
}

// floor(sqrt(num * 2^power) / 2^scale) for an even power: floor(sqrt(floor(y))) = floor(sqrt(y)).
BigNumber RootAtScale(const BigNumber& num, int power, int scale, bool* exact) {
    BigNumber radicand = num;
    const int shift = power - 2 * scale;
    bool cut = false;
    if (shift >= 0) {
        radicand.ShiftLeft(shift);
    } else {
        BigNumber kept = radicand;
        radicand.ShiftRight(-shift);
        BigNumber back = radicand;
        back.ShiftLeft(-shift);
        cut = back.Compare(kept) != 0;
    }
    BigNumber root = SquareRoot(radicand, exact);
    *exact = *exact && !cut;
    return root;
}

// The scale 2^scale at which the root of num * 2^power has about `bits` bits.
int RootScale(const BigNumber& num, int power, int bits) {
    return (num.BitLength() + power) / 2 - bits;
}

void Invalid(const BinaryFormat& format, ArithmeticResult* result) {
    result->exact.kind = ExactValue::Kind::kNan;
    result->conversion = LayoutConversion();
    result->conversion.invalid = true;
    if (format.HasNan()) {
        result->conversion.bits = QuietNanBits(format, false);
    } else {
        result->noResult = true;
    }
}

// An infinite exact result: the infinity, or where there is none what an overflow gives (its bits;
// the flags are the operation's own).
void Infinite(const BinaryFormat& format, bool negative, Rounding rounding, ArithmeticResult* result) {
    result->exact.kind = ExactValue::Kind::kInfinity;
    result->exact.negative = negative;
    if (format.HasInfinity()) {
        result->conversion = InfinityToLayout(format, negative, rounding);
        return;
    }
    const LayoutConversion overflow = OverflowToLayout(format, negative, rounding);
    result->conversion = LayoutConversion();
    result->conversion.bits = overflow.bits;
    result->conversion.saturated = overflow.saturated;
}

// Bits kept below a layout's mantissa when a long exact value is rounded: far more than the three
// the rounding looks at, so that the cut part can stand as one sticky bit at the bottom.
constexpr int kKeptExtraBits = 64;

void RoundFinite(const BinaryFormat& format, Rounding rounding, ArithmeticResult* result) {
    const ExactValue& exact = result->exact;
    BigNumber num = exact.num;
    BigNumber den(exact.den);
    int power = exact.power;
    // A wide sum rounds as its top bits with a sticky lowest bit do (rounding to odd far below the
    // layout's precision), and that costs a fraction of the division by the whole.
    const int excess = num.BitLength() - (format.mantissaBits + kKeptExtraBits);
    if (exact.den == 1 && excess > 0) {
        const bool sticky = !num.LowBitsZero(excess);
        num.ShiftRight(excess);
        power += excess;
        if (sticky && !num.Bit(0)) num.Add(BigNumber(1));
    }
    result->conversion = ConvertRationalToLayout(format, exact.negative, &num, &den, power, rounding);
}

void Quotient(const FloatFields& a, const FloatFields& b, ExactValue* exact) {
    uint64_t n = a.significand;
    uint64_t d = b.significand;
    int power = a.power - b.power;
    while ((d & 1u) == 0) {
        d >>= 1;
        --power;
    }
    const uint64_t common = std::gcd(n, d);
    SetFinite(exact, a.negative != b.negative, BigNumber(n / common), power);
    exact->den = d / common;
}

void SquareRootOf(const BinaryFormat& format, const FloatFields& a, Rounding rounding,
                  ArithmeticResult* result) {
    BigNumber m(a.significand);
    int power = a.power;
    if ((power & 1) != 0) {
        m.ShiftLeft(1);
        --power;
    }
    const int bits = std::max(format.mantissaBits, kProbeMantissaBits) + kRootGuardBits;
    const int scale = std::min(RootScale(m, power, bits), power / 2);
    bool exact = false;
    BigNumber root = RootAtScale(m, power, scale, &exact);
    if (exact) {
        SetFinite(&result->exact, false, root, scale);
        RoundFinite(format, rounding, result);
        return;
    }
    SetFinite(&result->exact, false, m, power);
    result->exact.root = true;
    // r + 1/2 rounds as the root in (r, r + 1) does.
    root.ShiftLeft(1);
    root.Add(BigNumber(1));
    BigNumber one(1);
    result->conversion = ConvertRationalToLayout(format, false, &root, &one, scale - 1, rounding);
}

}  // namespace

int OperandCount(Operation operation) {
    switch (operation) {
        case Operation::kSqrt: return 1;
        case Operation::kFma: return 3;
        default: return 2;
    }
}

bool ExactValue::Terminates() const {
    if (root || kind != Kind::kFinite) return false;
    uint64_t rest = den;
    while (rest % 5 == 0) rest /= 5;
    return rest == 1;
}

ArithmeticResult Calculate(const BinaryFormat& format, Operation operation, const uint64_t* operands,
                           Rounding rounding) {
    const int count = OperandCount(operation);
    FloatFields f[3];
    int firstNan = -1;
    bool signalling = false;
    for (int i = 0; i < count; ++i) {
        f[i] = DecodeFloat(format, operands[i]);
        if (IsNan(f[i])) {
            if (firstNan < 0) firstNan = i;
            signalling = signalling || f[i].floatClass == FloatClass::kSignalingNan;
        }
    }
    ArithmeticResult result;
    if (firstNan >= 0) {
        result.exact.kind = ExactValue::Kind::kNan;
        result.conversion.bits = operands[firstNan] | format.QuietBit();
        const bool zeroTimesInfinity =
            operation == Operation::kFma && firstNan == 2 &&
            ((IsZero(f[0]) && IsInfinity(f[1])) || (IsInfinity(f[0]) && IsZero(f[1])));
        result.conversion.invalid = signalling || zeroTimesInfinity;
        return result;
    }
    const RoundingMode mode = rounding.mode;
    switch (operation) {
        case Operation::kAdd:
        case Operation::kSubtract: {
            const bool flip = operation == Operation::kSubtract;
            const bool bNegative = f[1].negative != flip;
            if (IsInfinity(f[0]) || IsInfinity(f[1])) {
                if (IsInfinity(f[0]) && IsInfinity(f[1]) && f[0].negative != bNegative) {
                    Invalid(format, &result);
                } else {
                    Infinite(format, IsInfinity(f[0]) ? f[0].negative : bNegative, rounding, &result);
                }
                return result;
            }
            const Dyadic a = DyadicOf(f[0]);
            const Dyadic b = DyadicOf(f[1], flip);
            Sum(a, b, mode, &result.exact);
            AddTerms(a, &result.exact);
            AddTerms(b, &result.exact);
            break;
        }
        case Operation::kMultiply: {
            const bool negative = f[0].negative != f[1].negative;
            if (IsInfinity(f[0]) || IsInfinity(f[1])) {
                if (IsZero(f[0]) || IsZero(f[1])) {
                    Invalid(format, &result);
                } else {
                    Infinite(format, negative, rounding, &result);
                }
                return result;
            }
            const Dyadic product = Product(f[0], f[1]);
            SetFinite(&result.exact, negative, product.significand, product.power);
            break;
        }
        case Operation::kDivide: {
            const bool negative = f[0].negative != f[1].negative;
            if (IsInfinity(f[0])) {
                if (IsInfinity(f[1])) {
                    Invalid(format, &result);
                } else {
                    Infinite(format, negative, rounding, &result);
                }
                return result;
            }
            if (IsZero(f[1])) {
                if (IsZero(f[0])) {
                    Invalid(format, &result);
                } else {
                    Infinite(format, negative, rounding, &result);
                    result.divideByZero = true;
                }
                return result;
            }
            if (IsInfinity(f[1]) || IsZero(f[0])) {
                SetFinite(&result.exact, negative, BigNumber(), 0);
            } else {
                Quotient(f[0], f[1], &result.exact);
            }
            break;
        }
        case Operation::kSqrt: {
            if (IsZero(f[0])) {
                SetFinite(&result.exact, f[0].negative, BigNumber(), 0);
                break;
            }
            if (f[0].negative) {
                Invalid(format, &result);
            } else if (IsInfinity(f[0])) {
                Infinite(format, false, rounding, &result);
            } else {
                SquareRootOf(format, f[0], rounding, &result);
            }
            return result;
        }
        case Operation::kFma: {
            const bool negative = f[0].negative != f[1].negative;
            if (IsInfinity(f[0]) || IsInfinity(f[1])) {
                if (IsZero(f[0]) || IsZero(f[1]) || (IsInfinity(f[2]) && f[2].negative != negative)) {
                    Invalid(format, &result);
                } else {
                    Infinite(format, negative, rounding, &result);
                }
                return result;
            }
            if (IsInfinity(f[2])) {
                Infinite(format, f[2].negative, rounding, &result);
                return result;
            }
            const Dyadic product = Product(f[0], f[1]);
            const Dyadic addend = DyadicOf(f[2]);
            Sum(product, addend, mode, &result.exact);
            AddTerms(product, &result.exact);
            AddTerms(addend, &result.exact);
            break;
        }
    }
    RoundFinite(format, rounding, &result);
    return result;
}

namespace {

// Chunks of 64 bits, at most this many of them not zero, make a dyadic value's digits as the sum of
// their own expansions (from the cached powers, a pass each); longer values take the limbs below.
constexpr int kMostSummedChunks = 4;
constexpr int kChunkBits = 64;

// n * 2^q as the sum of its non-zero 64-bit chunks (none for zero), appended to terms (which holds
// *count of them, room for kMostSummedChunks); false when there are too many.
bool AddChunkTerms(const BigNumber& n, int q, bool negative, BinaryTerm* terms, int* count) {
    BigNumber rest = n;
    for (int low = 0; !rest.IsZero(); low += kChunkBits) {
        const uint64_t chunk = rest.Low64();
        rest.ShiftRight(kChunkBits);
        if (chunk == 0) continue;
        if (*count == kMostSummedChunks) return false;
        terms[(*count)++] = BinaryTerm{negative, chunk, q + low};
    }
    return true;
}

// The plain decimal of n * 2^q (n not zero) from its chunks; false when it has too many.
bool AppendChunkSum(const BigNumber& n, int q, bool negative, std::string* text) {
    BinaryTerm terms[kMostSummedChunks];
    int count = 0;
    if (!AddChunkTerms(n, q, negative, terms, &count)) return false;
    AppendBinarySum(terms, count, text);
    return true;
}

// The plain decimal of N * 2^q / 5^fives (exact: N * 2^(q + fives) / 10^fives).
void AppendTerminating(const BigNumber& n, int q, int fives, bool negative, std::string* text) {
    if (n.IsZero()) {
        *text += '0';
        return;
    }
    if (fives == 0 && AppendChunkSum(n, q, negative, text)) return;
    const int twos = q + fives;
    DecimalDigits digits;
    digits.fractionDigits = twos >= 0 ? fives : fives - twos;
    ScaleDecimalDigits(n.ToDecimal(), twos >= 0 ? twos : 0, twos >= 0 ? 0 : -twos, &digits.digits);
    AppendPlain(digits, negative, text);
}

// floor(num / den), num left holding the remainder.
BigNumber DivideFloor(BigNumber* num, const BigNumber& den) {
    BigNumber quotient;
    num->DivideModulo(den, &quotient);
    return quotient;
}

// The first kCutDigits significant digits of num / den * 2^power (num not zero), cut, and how many
// of them (or more: past them zeros) stand before the point (zero or below: zeros after it first).
struct CutDecimal {
    std::string digits;
    int integerDigits = 0;
    bool operator==(const CutDecimal& other) const {
        return integerDigits == other.integerDigits && digits == other.digits;
    }
};

CutDecimal Cut(const BigNumber& num, const BigNumber& den, int power) {
    assert(!num.IsZero());
    // log10 of the value is at least (bits - 1) * log10(2); start from there, with digits to spare.
    const double lowest = (num.BitLength() - den.BitLength() + power - 1) * kLog10Of2;
    int scale = kCutDigits - 1 - static_cast<int>(std::floor(lowest));
    for (;;) {
        BigNumber n = num;
        BigNumber d = den;
        if (scale >= 0) {
            n.MultiplyByPowerOfFive(scale);
        } else {
            d.MultiplyByPowerOfFive(-scale);
        }
        // A power of two below is a shift: floor(floor(n / 2^k) / d) = floor(n / (2^k * d)).
        const int twos = power + scale;
        if (twos >= 0) {
            n.ShiftLeft(twos);
        } else {
            n.ShiftRight(-twos);
        }
        CutDecimal cut;
        cut.digits = (d.Compare(BigNumber(1)) == 0 ? n : DivideFloor(&n, d)).ToDecimal();
        const int length = static_cast<int>(cut.digits.size());
        if (length < kCutDigits) {
            scale += kCutDigits - length;
            continue;
        }
        // floor(floor(y) / 10^k) = floor(y / 10^k): extra digits are simply cut.
        cut.integerDigits = length - scale;
        cut.digits.resize(kCutDigits);
        return cut;
    }
}

void AppendCut(const CutDecimal& cut, bool negative, std::string* text) {
    if (negative) *text += '-';
    if (cut.integerDigits <= 0) {
        *text += "0.";
        text->append(static_cast<std::size_t>(-cut.integerDigits), '0');
        *text += cut.digits;
    } else if (cut.integerDigits >= kCutDigits) {
        *text += cut.digits;
        text->append(static_cast<std::size_t>(cut.integerDigits - kCutDigits), '0');
    } else {
        const std::size_t integer = static_cast<std::size_t>(cut.integerDigits);
        text->append(cut.digits, 0, integer);
        *text += '.';
        text->append(cut.digits, integer, std::string::npos);
    }
    *text += "...";
}

int FivesIn(uint64_t den) {
    int fives = 0;
    for (; den % 5 == 0; den /= 5) ++fives;
    return fives;
}

// The digits of a value known to lie strictly between low * 2^scale and high * 2^scale, when the
// two agree on them.
bool CutBetween(const BigNumber& low, const BigNumber& high, int scale, CutDecimal* cut) {
    if (low.IsZero()) return false;
    const BigNumber one(1);
    *cut = Cut(low, one, scale);
    return Cut(high, one, scale) == *cut;
}

// The digits of an irrational root from r = floor(root / 2^scale), when r and r + 1 agree on them.
bool CutRoot(const BigNumber& r, int scale, CutDecimal* cut) {
    BigNumber high = r;
    high.Add(BigNumber(1));
    return CutBetween(r, high, scale, cut);
}

// The scale of a root's error with about `bits` bits of the root: no coarser than the stored value's
// own, so that it is a whole number there too.
int RootErrorScale(const ExactValue& exact, const FloatFields& stored, int bits) {
    const int scale = RootScale(exact.num, exact.power, bits);
    return stored.significand != 0 ? std::min(scale, stored.power) : scale;
}

// The digits of stored - root from r = floor(root / 2^scale) (scale from RootErrorScale), when the
// ends of the error's interval agree on them, and its sign. The root lies in (r, r + 1) * 2^scale and
// the stored value s * 2^scale too, so the error lies in (s - r - 1, s - r) * 2^scale (negative: its
// magnitude in (r - s, r + 1 - s)).
bool CutRootError(const BigNumber& r, int scale, const FloatFields& stored, CutDecimal* cut, bool* negative) {
    BigNumber s(stored.significand);
    s.ShiftLeft(stored.power - scale);
    BigNumber low;
    BigNumber high;
    *negative = s.Compare(r) <= 0;
    if (*negative) {
        low = r;
        low.Subtract(s);
        high = low;
        high.Add(BigNumber(1));
    } else {
        high = s;
        high.Subtract(r);
        low = high;
        low.Subtract(BigNumber(1));
    }
    return CutBetween(low, high, scale, cut);
}

// A dyadic exact value (a sum, a product, or any other with no divisor or root) as the signed terms
// x * 2^q that add up to it: a sum's own, else its 64-bit chunks; false for any other value, or one
// of more chunks than there is room for (kMostSummedChunks).
bool DyadicTerms(const ExactValue& exact, BinaryTerm* terms, int* count) {
    *count = 0;
    if (exact.termCount > 0) {
        for (; *count < exact.termCount; ++*count) terms[*count] = exact.terms[*count];
        return true;
    }
    return !exact.root && exact.den == 1 &&
           AddChunkTerms(exact.num, exact.power, exact.negative, terms, count);
}

BinaryTerm StoredTerm(const FloatFields& stored) {
    return BinaryTerm{stored.negative, stored.significand, stored.power};
}

// The digits after the point a term needs.
int FractionDigits(const BinaryTerm& term) {
    return term.x != 0 ? std::max(0, -term.q) : 0;
}

// Appends term - sum, the sum on a frame that holds the term's digits (the error of a rounded sum).
void AppendTakenFrom(const BinaryTerm& term, BinarySum* sum, std::string* text) {
    const bool framed = sum->SubtractFrom(term);
    assert(framed);
    (void)framed;
    sum->Append(text);
}

}  // namespace

void AppendExactResult(const ExactValue& exact, std::string* text) {
    if (exact.kind == ExactValue::Kind::kNan) {
        *text += "nan";
        return;
    }
    if (exact.kind == ExactValue::Kind::kInfinity) {
        *text += exact.negative ? "-inf" : "inf";
        return;
    }
    if (exact.num.IsZero()) {
        *text += '0';
        return;
    }
    if (exact.termCount > 0) {
        AppendBinarySum(exact.terms, exact.termCount, text);
        return;
    }
    if (exact.Terminates()) {
        AppendTerminating(exact.num, exact.power, FivesIn(exact.den), exact.negative, text);
        return;
    }
    if (!exact.root) {
        AppendCut(Cut(exact.num, BigNumber(exact.den), exact.power), exact.negative, text);
        return;
    }
    CutDecimal cut;
    for (int bits = kFirstDigitRootBits;; bits *= 2) {
        const int scale = RootScale(exact.num, exact.power, bits);
        bool whole = false;
        if (CutRoot(RootAtScale(exact.num, exact.power, scale, &whole), scale, &cut)) break;
    }
    AppendCut(cut, exact.negative, text);
}

void AppendExactResultAndError(const BinaryFormat& format, uint64_t bits, const ExactValue& exact,
                               const std::string& storedText, std::string* exactText, std::string* errorText,
                               BinarySum* sum) {
    const FloatFields stored = DecodeFloat(format, bits);
    const bool withError =
        errorText != nullptr && exact.kind == ExactValue::Kind::kFinite && IsFinite(stored);
    BinaryTerm terms[kMostSummedChunks];
    int count = 0;
    if (exact.kind == ExactValue::Kind::kFinite && DyadicTerms(exact, terms, &count)) {
        const BinaryTerm rounded = StoredTerm(stored);
        sum->Assign(terms, count, withError ? FractionDigits(rounded) : 0);
        sum->Append(exactText);
        if (withError) AppendTakenFrom(rounded, sum, errorText);
        return;
    }
    if (exact.root && withError) {
        // One root for both, finer until both are certain: any root finer than the one
        // AppendExactResult takes gives the same digits.
        CutDecimal exactCut;
        CutDecimal errorCut;
        bool exactFound = false;
        bool errorFound = false;
        bool negative = false;
        for (int rootBits = kFirstDigitRootBits; !exactFound || !errorFound; rootBits *= 2) {
            const int scale = RootErrorScale(exact, stored, rootBits);
            bool whole = false;
            const BigNumber r = RootAtScale(exact.num, exact.power, scale, &whole);
            if (!exactFound) exactFound = CutRoot(r, scale, &exactCut);
            if (!errorFound) errorFound = CutRootError(r, scale, stored, &errorCut, &negative);
        }
        AppendCut(exactCut, exact.negative, exactText);
        AppendCut(errorCut, negative, errorText);
        return;
    }
    AppendExactResult(exact, exactText);
    if (withError) AppendResultError(format, bits, exact, errorText, exactText, &storedText);
}

void AppendResultError(const BinaryFormat& format, uint64_t bits, const ExactValue& exact, std::string* text,
                       const std::string* exactText, const std::string* storedText) {
    const FloatFields stored = DecodeFloat(format, bits);
    assert(IsFinite(stored) && exact.kind == ExactValue::Kind::kFinite);
    BinaryTerm terms[kMostSummedChunks];
    int count = 0;
    if (DyadicTerms(exact, terms, &count)) {
        const BinaryTerm rounded = StoredTerm(stored);
        BinarySum sum;
        sum.Assign(terms, count, FractionDigits(rounded));
        AppendTakenFrom(rounded, &sum, text);
        return;
    }
    if (exact.Terminates()) {  // both texts end: their difference digit by digit
        std::string ownStored;
        if (storedText == nullptr) AppendExactValue(format, bits, &ownStored);
        std::string ownText;
        if (exactText == nullptr) AppendExactResult(exact, &ownText);
        AppendDecimalDifference(storedText != nullptr ? *storedText : ownStored,
                                exactText != nullptr ? *exactText : ownText, text);
        return;
    }
    const BigNumber storedSignificand(stored.significand);
    if (!exact.root) {
        // stored - exact = (s * den * 2^sp - n * 2^p) / den, both sides at the lower power.
        const int low = std::min(stored.power, exact.power);
        BigNumber s = storedSignificand;
        s.Multiply(BigNumber(exact.den));
        s.ShiftLeft(stored.power - low);
        BigNumber n = exact.num;
        n.ShiftLeft(exact.power - low);
        const bool sNegative = stored.negative && !s.IsZero();
        const bool nNegative = exact.negative && !n.IsZero();
        bool negative = sNegative;
        if (sNegative != nNegative) {
            s.Add(n);
        } else if (s.Compare(n) >= 0) {
            s.Subtract(n);
        } else {
            n.Subtract(s);
            s = std::move(n);
            negative = !sNegative;
        }
        if (s.IsZero()) {
            *text += '0';
        } else {
            AppendCut(Cut(s, BigNumber(exact.den), low), negative, text);
        }
        return;
    }
    CutDecimal cut;
    bool negative = false;
    for (int bits = kFirstDigitRootBits;; bits *= 2) {
        const int scale = RootErrorScale(exact, stored, bits);
        bool whole = false;
        if (CutRootError(RootAtScale(exact.num, exact.power, scale, &whole), scale, stored, &cut, &negative))
            break;
    }
    AppendCut(cut, negative, text);
}

}  // namespace cv
