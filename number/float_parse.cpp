#include "number/float_parse.h"

#include <algorithm>
#include <cassert>

#include "number/big_number.h"
#include "number/binary_float.h"
#include "number/digits.h"
#include "number/exact_decimal.h"
#include "number/rounding.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int64_t kExponentClamp = kDecimalExponentClamp;
constexpr int64_t kLog10Of2Scaled = 30103;   // log10(2) * 10^5, rounded down
constexpr int64_t kLog2Of10Scaled = 332193;  // log2(10) * 10^5, rounded up
constexpr int64_t kLogScale = 100000;
constexpr int kChunkDigits = kTenToTheNineDigits;
constexpr uint32_t kChunkScale = kTenToTheNine;
constexpr int64_t kPlainErrorDigits = 20000;  // longer errors (far below any subnormal) in d.ddde-N
// Exponent texts of at most this many significant digits are added up in 64 bits, exactly.
constexpr std::size_t kMachineExponentDigits = 15;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsWord(const char* text, std::size_t length, const char* word) {
    std::size_t i = 0;
    for (; i < length && word[i] != '\0'; ++i) {
        if (Lower(text[i]) != word[i]) return false;
    }
    return i == length && word[i] == '\0';
}

int64_t Clamp(int64_t value) {
    return value > kExponentClamp ? kExponentClamp : value < -kExponentClamp ? -kExponentClamp : value;
}

BigNumber DigitsToNumber(const std::string& digits) {
    BigNumber number;
    for (std::size_t i = 0; i < digits.size(); i += kChunkDigits) {
        uint32_t chunk = 0;
        uint32_t scale = 1;
        for (std::size_t j = i; j < digits.size() && j < i + kChunkDigits; ++j) {
            chunk = chunk * 10 + static_cast<uint32_t>(digits[j] - '0');
            scale *= 10;
        }
        number.MultiplyAdd(scale == kChunkScale ? kChunkScale : scale, chunk);
    }
    return number;
}

// a - b for digit strings of equal length with a >= b.
void SubtractDigits(const std::string& a, const std::string& b, std::string* difference) {
    difference->assign(a.size(), '0');
    int borrow = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        int digit = (a[i] - '0') - (b[i] - '0') - borrow;
        borrow = digit < 0 ? 1 : 0;
        (*difference)[i] = static_cast<char>('0' + digit + 10 * borrow);
    }
}

// a + b for digit strings of equal length; the sum has one digit more.
void AddDigits(const std::string& a, const std::string& b, std::string* sum) {
    sum->assign(a.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const int digit = (a[i] - '0') + (b[i] - '0') + carry;
        carry = digit / 10;
        (*sum)[i + 1] = static_cast<char>('0' + digit % 10);
    }
    (*sum)[0] = static_cast<char>('0' + carry);
}

// The decimal text ("-" before a negative one, "0" for zero) of (negative ? -magnitude : magnitude)
// + offset, where magnitude is a digit string of any length: an exponent past 64 bits, moved by the
// few places the text's point and zeros make.
std::string OffsetDecimalText(bool negative, const std::string& magnitude, int64_t offset) {
    const bool offsetNegative = offset < 0;
    std::string step;
    AppendDecimal(offsetNegative ? 0 - static_cast<uint64_t>(offset) : static_cast<uint64_t>(offset), &step);
    std::string a = magnitude;
    const std::size_t length = std::max(a.size(), step.size());
    a.insert(0, length - a.size(), '0');
    step.insert(0, length - step.size(), '0');
    std::string result;
    bool resultNegative = negative;
    if (offsetNegative == negative) {
        AddDigits(a, step, &result);
    } else if (a >= step) {
        SubtractDigits(a, step, &result);
    } else {
        SubtractDigits(step, a, &result);
        resultNegative = offsetNegative;
    }
    std::size_t start = 0;
    while (start + 1 < result.size() && result[start] == '0') ++start;
    result.erase(0, start);
    return resultNegative && result != "0" ? "-" + result : result;
}

}  // namespace

bool ParseDecimal(const char* text, std::size_t length, DecimalNumber* number) {
    *number = DecimalNumber();
    std::size_t i = 0;
    if (i < length && (text[i] == '+' || text[i] == '-')) number->negative = text[i++] == '-';
    if (EqualsWord(text + i, length - i, "inf") || EqualsWord(text + i, length - i, "infinity")) {
        number->kind = DecimalNumber::Kind::kInfinity;
        return true;
    }
    if (EqualsWord(text + i, length - i, "nan")) {
        number->kind = DecimalNumber::Kind::kNan;
        return true;
    }
    std::string& digits = number->digits;
    int64_t scale = 0;  // digits after the point, minus the integer part's dropped zeros
    std::size_t mantissaDigits = 0;
    bool point = false;
    for (; i < length && (IsDigit(text[i]) || (text[i] == '.' && !point)); ++i) {
        if (text[i] == '.') {
            point = true;
            continue;
        }
        ++mantissaDigits;
        if (point) ++scale;
        if (digits.empty() && text[i] == '0') continue;
        digits += text[i];
    }
    if (mantissaDigits == 0) return false;
    bool negativeExponent = false;
    std::string exponentDigits;  // significant digits only
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < length && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        if (i == length) return false;
        for (; i < length && IsDigit(text[i]); ++i) {
            if (!exponentDigits.empty() || text[i] != '0') exponentDigits += text[i];
        }
    }
    if (i != length) return false;
    std::size_t end = digits.size();
    while (end > 0 && digits[end - 1] == '0') --end;
    const int64_t trailingZeros = static_cast<int64_t>(digits.size() - end);
    digits.resize(end);
    if (digits.empty()) return true;
    const int64_t shift = trailingZeros - scale;  // bounded by the text's length
    if (exponentDigits.size() <= kMachineExponentDigits) {
        int64_t exponent = 0;
        for (char c : exponentDigits) exponent = exponent * 10 + (c - '0');
        exponent = (negativeExponent ? -exponent : exponent) + shift;
        number->exponent = Clamp(exponent);
        if (number->exponent != exponent) number->exactExponent = std::to_string(exponent);
    } else {
        number->exactExponent = OffsetDecimalText(negativeExponent, exponentDigits, shift);
        number->exponent = number->exactExponent[0] == '-' ? -kExponentClamp : kExponentClamp;
    }
    return true;
}

FloatConversion ConvertDecimal(const BinaryFormat& format, const DecimalNumber& number, RoundingMode mode) {
    FloatConversion result;
    if (number.kind == DecimalNumber::Kind::kInfinity) {
        result.bits = InfinityBits(format, number.negative);
        return result;
    }
    if (number.kind == DecimalNumber::Kind::kNan) {
        result.bits = QuietNanBits(format, number.negative);
        return result;
    }
    assert(number.digits.empty() || (number.digits.front() != '0' && number.digits.back() != '0'));
    const uint64_t sign = number.negative ? format.SignMask() : 0u;
    if (number.digits.empty()) {
        result.bits = sign;
        return result;
    }
    // value lies in [10^(top-1), 10^top): decide the certain overflows and underflows at once.
    const int64_t top = Clamp(static_cast<int64_t>(number.digits.size()) + number.exponent);
    if ((top - 1) * kLogScale > (format.MaxExponent() + 1) * kLog10Of2Scaled + kLogScale) {
        return OverflowInMode(format, number.negative, mode);
    }
    if (top * kLog2Of10Scaled < (format.MinSubnormalExponent() - 2) * kLogScale) {
        // Below a quarter of the smallest subnormal: zero, or that subnormal where the mode rounds
        // the magnitude up.
        result.bits = sign | (RoundsUp(mode, number.negative, false, true, false) ? 1u : 0u);
        result.underflow = result.inexact = true;
        return result;
    }
    // No rounding boundary has more significant digits than this: later digits only count as
    // "something non-zero follows", which a final 1 keeps.
    const std::size_t keep =
        static_cast<std::size_t>(1 - format.MinSubnormalExponent() + format.MaxExponent() + 12);
    std::string truncated;
    const std::string* digits = &number.digits;
    int64_t exponent = number.exponent;
    if (number.digits.size() > keep) {
        truncated.assign(number.digits, 0, keep);
        truncated += '1';
        exponent += static_cast<int64_t>(number.digits.size() - keep) - 1;
        digits = &truncated;
    }
    BigNumber num = DigitsToNumber(*digits);
    BigNumber den(1);
    const int k = static_cast<int>(exponent);  // bounded by the checks above
    if (k >= 0) {
        num.MultiplyByPowerOfFive(k);
    } else {
        den.MultiplyByPowerOfFive(-k);
    }
    return RoundRational(format, number.negative, &num, &den, k, mode);
}

namespace {

// The given value, negated, in exact d.ddde-N form (its plain text would be too long).
void AppendNegatedScientific(const DecimalNumber& number, std::string* text) {
    if (!number.negative) *text += '-';
    if (!number.givenText.empty()) {
        *text += number.givenText;
        return;
    }
    *text += number.digits[0];
    if (number.digits.size() > 1) {
        *text += '.';
        text->append(number.digits, 1, std::string::npos);
    }
    *text += 'e';
    const int64_t pointShift = static_cast<int64_t>(number.digits.size()) - 1;
    if (number.exactExponent.empty()) {
        *text += std::to_string(number.exponent + pointShift);
    } else {
        const bool negative = number.exactExponent[0] == '-';
        *text += OffsetDecimalText(negative, number.exactExponent.substr(negative ? 1 : 0), pointShift);
    }
}

}  // namespace

void AppendConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                           std::string* text) {
    const FloatFields stored = DecodeFloat(format, bits);
    if (stored.floatClass == FloatClass::kInfinity) {
        *text += stored.negative ? "-inf" : "inf";
        return;
    }
    if (!IsFinite(stored)) return;
    AppendBinaryMinusDecimal(stored.significand, stored.power, number, text);
}

void AppendBinaryMinusDecimal(uint64_t significand, int power, const DecimalNumber& number,
                              std::string* text) {
    FloatFields stored;
    stored.significand = significand;
    stored.power = power;
    if (number.digits.empty() && stored.significand == 0) {
        *text += '0';
        return;
    }
    // A zero stored for a given number far out (below every layout; past an integer's range,
    // saturated to 0) has the given number negated as its error.
    if (stored.significand == 0 && (-number.exponent > kPlainErrorDigits || LiesFarOut(number))) {
        AppendNegatedScientific(number, text);
        return;
    }
    // Both as integers over one power of ten, 10^low, aligned digit for digit.
    DecimalDigits storedDigits;
    ExpandBinary(stored.significand, stored.power, &storedDigits);
    const int64_t low = std::min<int64_t>(-storedDigits.fractionDigits, number.exponent);
    std::string s = storedDigits.digits;
    std::string g = number.digits;
    if (!s.empty()) s.append(static_cast<std::size_t>(-storedDigits.fractionDigits - low), '0');
    if (!g.empty()) g.append(static_cast<std::size_t>(number.exponent - low), '0');
    const std::size_t length = std::max(s.size(), g.size());
    s.insert(0, length - s.size(), '0');
    g.insert(0, length - g.size(), '0');
    // stored - given = sign * (|s| - |g|); the stored value has the given one's sign.
    DecimalDigits error;
    const bool storedLarger = s >= g;
    SubtractDigits(storedLarger ? s : g, storedLarger ? g : s, &error.digits);
    std::size_t start = 0;
    while (start < error.digits.size() && error.digits[start] == '0') ++start;
    error.digits.erase(0, start);
    if (low >= 0) {
        if (!error.digits.empty()) error.digits.append(static_cast<std::size_t>(low), '0');
        error.fractionDigits = 0;
    } else {
        error.fractionDigits = static_cast<int>(-low);
    }
    const bool negative = storedLarger == number.negative;
    AppendPlain(error, negative && !error.digits.empty(), text);
}

bool LiesFarOut(const DecimalNumber& number) {
    const int64_t top = static_cast<int64_t>(number.digits.size()) + number.exponent;
    return !number.digits.empty() && (top > kPlainErrorDigits || top < -kPlainErrorDigits);
}

void AppendFarDifference(const std::string& stored, const DecimalNumber& number, std::string* text) {
    *text += stored;
    *text += number.negative ? " + " : " - ";
    if (!number.givenText.empty()) {
        *text += number.givenText;
        return;
    }
    *text += number.digits;
    *text += 'e';
    *text += number.exactExponent.empty() ? std::to_string(number.exponent) : number.exactExponent;
}

}  // namespace cv
