// IEEE arithmetic on stored values: a table of exact cases (results, flags, exact texts, errors),
// and random and exhaustive operations against the test's own exact model of the layouts
// (arithmetic_reference.h), which needs neither the machine's floating point nor its modes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "arithmetic_reference.h"
#include "number/arithmetic.h"
#include "number/binary_float.h"
#include "number/exact_decimal.h"
#include "number/float_parse.h"
#include "number/format_rules.h"

namespace {

using cv::ArithmeticResult;
using cv::BinaryFormat;
using cv::LayoutKind;
using cv::Operation;
using cv::RoundingMode;

constexpr RoundingMode kModes[] = {RoundingMode::kEven, RoundingMode::kAway, RoundingMode::kZero,
                                   RoundingMode::kUp, RoundingMode::kDown};
constexpr Operation kOperations[] = {Operation::kAdd,    Operation::kSubtract, Operation::kMultiply,
                                     Operation::kDivide, Operation::kSqrt,     Operation::kFma};

std::string FlagText(const ArithmeticResult& r) {
    std::string text;
    const auto add = [&text](bool on, const char* name) {
        if (!on) return;
        if (!text.empty()) text += ' ';
        text += name;
    };
    add(r.conversion.invalid, "invalid");
    add(r.divideByZero, "divide-by-zero");
    add(r.conversion.overflow, "overflow");
    add(r.conversion.underflow, "underflow");
    add(r.conversion.inexact, "inexact");
    add(r.conversion.saturated, "saturated");
    return text;
}

// An operand: 0x bits, else a decimal converted (to nearest) into the layout.
uint64_t Operand(const BinaryFormat& format, const char* text) {
    if (text[0] == '0' && text[1] == 'x') return std::stoull(text + 2, nullptr, 16);
    cv::DecimalNumber number;
    EXPECT_TRUE(cv::ParseDecimal(text, std::char_traits<char>::length(text), &number)) << text;
    return cv::ConvertDecimalToLayout(format, number).bits;
}

struct ExactCase {
    BinaryFormat format;
    RoundingMode mode;
    bool saturate;
    Operation operation;
    const char* operands[3];
    uint64_t bits;
    const char* flags;
    const char* exact;  // nullptr: not checked
    const char* error;  // nullptr: not checked (or none)
};

constexpr BinaryFormat kF16 = cv::kHalfFormat;
constexpr BinaryFormat kF32 = cv::kSingleFormat;
constexpr BinaryFormat kF64 = cv::kDoubleFormat;
constexpr BinaryFormat kBf16 = cv::kBrainFormat;
constexpr BinaryFormat kE4M3 = cv::kE4M3FnFormat;
constexpr RoundingMode kEven = RoundingMode::kEven;
constexpr RoundingMode kAway = RoundingMode::kAway;
constexpr RoundingMode kZero = RoundingMode::kZero;
constexpr RoundingMode kUp = RoundingMode::kUp;
constexpr RoundingMode kDown = RoundingMode::kDown;
constexpr Operation kAdd = Operation::kAdd;
constexpr Operation kSub = Operation::kSubtract;
constexpr Operation kMul = Operation::kMultiply;
constexpr Operation kDiv = Operation::kDivide;
constexpr Operation kSqrt = Operation::kSqrt;
constexpr Operation kFma = Operation::kFma;
constexpr const char* kThird = "0.3333333333333333333333333333333333333333...";

const ExactCase kExactCases[] = {
    {kF64,
     kEven,
     false,
     kAdd,
     {"0.1", "0.2"},
     0x3FD3333333333334,
     "inexact",
     "0.3000000000000000166533453693773481063544750213623046875",
     "0.0000000000000000277555756156289135105907917022705078125"},
    // 1 / 3 by every mode
    {kF32,
     kEven,
     false,
     kDiv,
     {"1", "3"},
     0x3EAAAAAB,
     "inexact",
     kThird,
     "0.000000009934107462565104166666666666666666666666..."},
    {kF32, kAway, false, kDiv, {"1", "3"}, 0x3EAAAAAB, "inexact", kThird, nullptr},
    {kF32,
     kZero,
     false,
     kDiv,
     {"1", "3"},
     0x3EAAAAAA,
     "inexact",
     kThird,
     "-0.00000001986821492513020833333333333333333333333..."},
    {kF32, kUp, false, kDiv, {"1", "3"}, 0x3EAAAAAB, "inexact", kThird, nullptr},
    {kF32, kDown, false, kDiv, {"1", "3"}, 0x3EAAAAAA, "inexact", kThird, nullptr},
    {kF16, kEven, false, kDiv, {"1", "3"}, 0x3555, "inexact", kThird, nullptr},
    {kF16, kAway, false, kDiv, {"1", "3"}, 0x3555, "inexact", kThird, nullptr},
    {kF16, kZero, false, kDiv, {"1", "3"}, 0x3555, "inexact", kThird, nullptr},
    {kF16, kUp, false, kDiv, {"1", "3"}, 0x3556, "inexact", kThird, nullptr},
    {kF16, kDown, false, kDiv, {"1", "3"}, 0x3555, "inexact", kThird, nullptr},
    {kE4M3,
     kEven,
     false,
     kDiv,
     {"1", "3"},
     0x2B,
     "inexact",
     kThird,
     "0.01041666666666666666666666666666666666666..."},
    {kE4M3, kAway, false, kDiv, {"1", "3"}, 0x2B, "inexact", kThird, nullptr},
    {kE4M3,
     kZero,
     false,
     kDiv,
     {"1", "3"},
     0x2A,
     "inexact",
     kThird,
     "-0.02083333333333333333333333333333333333333..."},
    {kE4M3, kUp, false, kDiv, {"1", "3"}, 0x2B, "inexact", kThird, nullptr},
    {kE4M3, kDown, false, kDiv, {"1", "3"}, 0x2A, "inexact", kThird, nullptr},
    // every invalid case: the default quiet NaN
    {kF64, kEven, false, kSub, {"inf", "inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kAdd, {"-inf", "inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kSub, {"-inf", "-inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kMul, {"0", "inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kMul, {"-inf", "0"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kDiv, {"0", "-0"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kDiv, {"inf", "-inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kSqrt, {"-1e-300"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kSqrt, {"-inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kFma, {"0", "inf", "1"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kFma, {"inf", "-0", "-inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64, kEven, false, kFma, {"2", "inf", "-inf"}, 0x7FF8000000000000, "invalid", "nan", nullptr},
    {kF64,
     kEven,
     false,
     kFma,
     {"0", "inf", "0x7FF8000000000005"},
     0x7FF8000000000005,
     "invalid",
     "nan",
     nullptr},
    {kF16, kEven, false, kAdd, {"1", "0x7D01"}, 0x7F01, "invalid", "nan", nullptr},  // signalling
    {kE4M3, kEven, false, kDiv, {"0", "0"}, 0x7F, "invalid", "nan", nullptr},
    // division by zero
    {kF64, kEven, false, kDiv, {"1", "0"}, 0x7FF0000000000000, "divide-by-zero", "inf", nullptr},
    {kF64, kEven, false, kDiv, {"-1", "0"}, 0xFFF0000000000000, "divide-by-zero", "-inf", nullptr},
    {kF64, kZero, false, kDiv, {"1", "-0"}, 0xFFF0000000000000, "divide-by-zero", "-inf", nullptr},
    {kE4M3, kEven, false, kDiv, {"-1", "0"}, 0xFF, "divide-by-zero", "-inf", nullptr},
    {kE4M3, kZero, false, kDiv, {"1", "0"}, 0x7E, "divide-by-zero", "inf", nullptr},
    {kF64, kEven, false, kDiv, {"inf", "0"}, 0x7FF0000000000000, "", "inf", nullptr},
    {kF64, kEven, false, kAdd, {"inf", "-1e308"}, 0x7FF0000000000000, "", "inf", nullptr},
    // zero signs
    {kF64, kEven, false, kSub, {"1", "1"}, 0x0, "", "0", "0"},
    {kF64, kDown, false, kSub, {"1", "1"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kAdd, {"-0", "0"}, 0x0, "", "0", "0"},
    {kF64, kDown, false, kAdd, {"-0", "0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kAdd, {"-0", "-0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kUp, false, kSub, {"-0", "0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kDown, false, kSub, {"0", "-0"}, 0x0, "", "0", "0"},
    {kF64, kEven, false, kMul, {"-0", "5"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kDiv, {"0", "-5"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kDiv, {"-3", "inf"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kSqrt, {"-0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kFma, {"-0", "1", "0"}, 0x0, "", "0", "0"},
    {kF64, kDown, false, kFma, {"-0", "1", "0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kEven, false, kFma, {"-0", "1", "-0"}, 0x8000000000000000, "", "0", "0"},
    {kF64, kDown, false, kFma, {"2", "3", "-6"}, 0x8000000000000000, "", "0", "0"},
    {cv::kE4M3FnuzFormat, kDown, false, kSub, {"1", "1"}, 0x00, "", "0", "0"},
    // subnormal results: one underflows, one is exact
    {kF16,
     kEven,
     false,
     kMul,
     {"0x0001", "0.75"},
     0x0001,
     "underflow inexact",
     "0.00000004470348358154296875",
     "0.00000001490116119384765625"},
    {kF16,
     kEven,
     false,
     kMul,
     {"0x0001", "0.5"},
     0x0000,
     "underflow inexact",
     nullptr,
     "-0.0000000298023223876953125"},
    {kF16, kEven, false, kMul, {"0x0400", "0x3800"}, 0x0200, "", "0.000030517578125", "0"},
    // overflow by mode, in a layout without infinities, saturated
    {kF16, kEven, false, kAdd, {"65504", "65504"}, 0x7C00, "overflow inexact", "131008", nullptr},
    {kF16, kZero, false, kAdd, {"65504", "65504"}, 0x7BFF, "overflow inexact", "131008", "-65504"},
    {kF16, kDown, false, kMul, {"-65504", "2"}, 0xFC00, "overflow inexact", "-131008", nullptr},
    {kE4M3, kEven, false, kMul, {"448", "2"}, 0x7F, "overflow inexact", "896", nullptr},
    {kE4M3, kEven, true, kMul, {"448", "2"}, 0x7E, "overflow inexact saturated", "896", "-448"},
    {kF16, kEven, true, kMul, {"65504", "-2"}, 0xFBFF, "overflow inexact saturated", "-131008", "65504"},
    // NaN propagation: the first NaN, quiet, its sign and payload
    {kF16, kEven, false, kAdd, {"0x7E05", "0x7D01"}, 0x7E05, "invalid", "nan", nullptr},
    {kF16, kEven, false, kMul, {"0xFE07", "0x7E05"}, 0xFE07, "", "nan", nullptr},
    {kF64, kEven, false, kSqrt, {"0xFFF0000000000123"}, 0xFFF8000000000123, "invalid", "nan", nullptr},
    {kF64,
     kEven,
     false,
     kFma,
     {"1", "0x7FF4000000000001", "0xFFF8000000000002"},
     0x7FFC000000000001,
     "invalid",
     "nan",
     nullptr},
    {kE4M3, kEven, false, kSub, {"1", "0xFF"}, 0xFF, "", "nan", nullptr},
    // fma rounds once: 0.1 x 10 rounds to 1 alone, so the separate sum would be 0
    {kF64,
     kEven,
     false,
     kFma,
     {"0.1", "10", "-1"},
     0x3C90000000000000,
     "",
     "0.000000000000000055511151231257827021181583404541015625",
     "0"},
    {kF64,
     kEven,
     false,
     kMul,
     {"0.1", "10"},
     0x3FF0000000000000,
     "inexact",
     "1.000000000000000055511151231257827021181583404541015625",
     "-0.000000000000000055511151231257827021181583404541015625"},
    // square roots
    {kBf16,
     kEven,
     false,
     kSqrt,
     {"2"},
     0x3FB5,
     "inexact",
     "1.414213562373095048801688724209698078569...",
     "-0.0001510623730950488016887242096980785696718..."},
    {kBf16, kUp, false, kSqrt, {"2"}, 0x3FB6, "inexact", nullptr, nullptr},
    {kF64, kEven, false, kSqrt, {"0.25"}, 0x3FE0000000000000, "", "0.5", "0"},
    {cv::kE8M0FnuFormat,
     kEven,
     false,
     kSqrt,
     {"8"},
     0x80,
     "inexact",
     "2.828427124746190097603377448419396157139...",
     "-0.8284271247461900976033774484193961571393..."},
    {cv::kE8M0FnuFormat,
     kEven,
     false,
     kDiv,
     {"1", "0x00"},
     0xFE,
     "",
     "170141183460469231731687303715884105728",
     "0"},
    // a quotient that ends, and one whose digits end far before the point
    {kF64,
     kEven,
     false,
     kDiv,
     {"1", "5"},
     0x3FC999999999999A,
     "inexact",
     "0.2",
     "0.000000000000000011102230246251565404236316680908203125"},
};

TEST(Arithmetic, ExactCases) {
    for (const ExactCase& c : kExactCases) {
        uint64_t operands[3] = {};
        for (int i = 0; i < cv::OperandCount(c.operation); ++i)
            operands[i] = Operand(c.format, c.operands[i]);
        const ArithmeticResult r =
            cv::Calculate(c.format, c.operation, operands, cv::Rounding(c.mode, c.saturate));
        const std::string where = std::string(c.operands[0]) + " op " +
                                  std::to_string(static_cast<int>(c.operation)) + " mode " +
                                  std::to_string(static_cast<int>(c.mode));
        EXPECT_FALSE(r.noResult) << where;
        EXPECT_EQ(r.conversion.bits, c.bits) << where;
        EXPECT_EQ(FlagText(r), c.flags) << where;
        if (c.exact != nullptr) {
            std::string exact;
            cv::AppendExactResult(r.exact, &exact);
            EXPECT_EQ(exact, c.exact) << where;
        }
        if (c.error != nullptr) {
            std::string error;
            cv::AppendResultError(c.format, r.conversion.bits, r.exact, &error);
            EXPECT_EQ(error, c.error) << where;
        }
        if (c.exact != nullptr && c.error != nullptr) {  // both at once, from one expansion
            std::string stored;
            cv::AppendExactValue(c.format, r.conversion.bits, &stored);
            std::string exact;
            std::string error;
            cv::BinarySum sum;
            cv::AppendExactResultAndError(c.format, r.conversion.bits, r.exact, stored, &exact, &error, &sum);
            EXPECT_EQ(exact, c.exact) << where;
            EXPECT_EQ(error, c.error) << where;
        }
    }
}

// Sums of terms in limbs: carries and borrows across limbs, cancellation, signs, and terms whose
// digits lie far apart; random sums against one difference of texts at a time.
TEST(Arithmetic, SumsTermsExactly) {
    using cv::BinaryTerm;
    const struct {
        BinaryTerm terms[3];
        int count;
        const char* text;
    } cases[] = {
        {{{false, 1, 0}, {false, 1, -1}}, 2, "1.5"},
        {{{false, 1, 0}, {true, 1, 0}}, 2, "0"},
        {{{false, 5, -1}, {false, 1, -1}}, 2, "3"},
        {{{false, 999999999, 0}, {false, 1, 0}}, 2, "1000000000"},
        {{{false, 1000000000, 0}, {true, 1, 0}}, 2, "999999999"},
        {{{true, 3, -40}, {false, 1, -41}}, 2, "-0.00000000000227373675443232059478759765625"},
        {{{false, UINT64_MAX, 0}, {true, UINT64_MAX, -9}}, 2, "18410715276690587647.001953125"},
        {{{false, 0, 5}, {true, 0, -5}}, 2, "0"},
        {{{true, 1, 3}, {false, 0, 0}, {false, 1, 2}}, 3, "-4"},
    };
    for (const auto& c : cases) {
        std::string text;
        cv::AppendBinarySum(c.terms, c.count, &text);
        EXPECT_EQ(text, c.text) << c.count;
    }
    std::mt19937_64 random(23);
    cv::BinarySum sum;
    for (int i = 0; i < 2000; ++i) {
        BinaryTerm terms[4];
        const int count = 1 + static_cast<int>(random() % 4);
        std::string expected = "0";
        for (int t = 0; t < count; ++t) {
            terms[t] = BinaryTerm{random() % 2 == 0, random() >> (random() % 64),
                                  static_cast<int>(random() % 2201) - 1100};
            std::string negated;
            cv::AppendPlainBinary(terms[t].x, terms[t].q, !terms[t].negative, &negated);
            std::string next;
            cv::AppendDecimalDifference(expected, negated, &next);
            expected.swap(next);
        }
        std::string text;
        cv::AppendBinarySum(terms, count, &text);
        ASSERT_EQ(text, expected) << i;
        // A term taken from the kept sum, as a rounded value minus the exact one.
        const BinaryTerm taken{random() % 2 == 0, random() >> (random() % 64),
                               static_cast<int>(random() % 2201) - 1100};
        sum.Assign(terms, count, -taken.q);
        ASSERT_TRUE(sum.SubtractFrom(taken));
        std::string takenText;
        cv::AppendPlainBinary(taken.x, taken.q, taken.negative, &takenText);
        expected.clear();
        cv::AppendDecimalDifference(takenText, text, &expected);
        text.clear();
        sum.Append(&text);
        ASSERT_EQ(text, expected) << i;
    }
}

// A quotient cut before the point, and one that ends though its divisor is 3 (the stored 1e300 is a
// multiple of 3): every digit.
TEST(Arithmetic, QuotientDigitsBeforeThePoint) {
    const uint64_t bySeven[2] = {Operand(kF64, "1e300"), Operand(kF64, "7")};
    ArithmeticResult r = cv::Calculate(kF64, Operation::kDivide, bySeven);
    EXPECT_EQ(r.conversion.bits, 0x7E0B4DFC092518B2u);
    std::string exact;
    cv::AppendExactResult(r.exact, &exact);
    EXPECT_EQ(exact, "1428571428571428646435371793149171783863" + std::string(260, '0') + "...");
    const uint64_t byThree[2] = {Operand(kF64, "1e300"), Operand(kF64, "3")};
    r = cv::Calculate(kF64, Operation::kDivide, byThree);
    exact.clear();
    cv::AppendExactResult(r.exact, &exact);
    EXPECT_EQ(exact.size(), 300u);
    EXPECT_EQ(exact.compare(0, 50, "33333333333333335083492008506814008290148952703605"), 0);
}

TEST(Arithmetic, FiniteLayoutHasNoResultForAnInvalidOperation) {
    const uint64_t zeros[2] = {0, 0};
    EXPECT_TRUE(cv::Calculate(cv::kE2M1FnFormat, Operation::kDivide, zeros).noResult);
    const uint64_t minusOne[1] = {0xA};  // -1
    EXPECT_TRUE(cv::Calculate(cv::kE2M1FnFormat, Operation::kSqrt, minusOne).noResult);
    const uint64_t oneByZero[2] = {0x2, 0x0};  // 1 / 0: the largest finite value, as an overflow gives
    const ArithmeticResult r = cv::Calculate(cv::kE2M1FnFormat, Operation::kDivide, oneByZero);
    EXPECT_EQ(r.conversion.bits, 0x7u);
    EXPECT_EQ(FlagText(r), "divide-by-zero");
}

void ExpectAsReference(const BinaryFormat& f, Operation op, const uint64_t* operands, RoundingMode mode,
                       int* failures) {
    cvtest::ReferenceResult ref;
    if (!cvtest::ReferenceArithmetic(f, op, operands, mode, &ref)) return;
    const ArithmeticResult r = cv::Calculate(f, op, operands, cv::Rounding(mode));
    if (r.noResult == ref.noResult && (ref.noResult || r.conversion.bits == ref.bits) &&
        FlagText(r) == ref.flags)
        return;
    if (++*failures > 10) return;
    ADD_FAILURE() << "layout " << f.exponentBits << ":" << f.mantissaBits << " op " << static_cast<int>(op)
                  << " mode " << static_cast<int>(mode) << " operands " << std::hex << operands[0] << " "
                  << operands[1] << " " << operands[2] << ": got " << r.conversion.bits << " [" << FlagText(r)
                  << "]" << (r.noResult ? " no result" : "") << ", reference " << ref.bits << " ["
                  << ref.flags << "]" << (ref.noResult ? " no result" : "");
}

constexpr BinaryFormat kRandomFormats[] = {kF16, kBf16, kF32, kF64, BinaryFormat{4, 3}, kE4M3};

// 100,000 operations of each kind in each layout, the modes taking turns; the unoptimised sanitizer
// build does a fifth of them (CORVANE_ARITHMETIC_OPERATIONS sets the count).
#ifdef CORVANE_SANITIZED_ARITHMETIC_OPERATIONS
constexpr int kRandomOperations = CORVANE_SANITIZED_ARITHMETIC_OPERATIONS;
#else
constexpr int kRandomOperations = 100000;
#endif

int RandomOperations() {
    const char* count = std::getenv("CORVANE_ARITHMETIC_OPERATIONS");
    return count != nullptr && count[0] != '\0' ? std::atoi(count) : kRandomOperations;
}

TEST(Arithmetic, RandomOperationsAsReference) {
    std::mt19937_64 random(17);
    int failures = 0;
    for (const BinaryFormat& f : kRandomFormats) {
        const uint64_t mask = f.TotalBits() == 64 ? ~uint64_t{0} : (uint64_t{1} << f.TotalBits()) - 1;
        for (Operation op : kOperations) {
            for (int i = 0, count = RandomOperations(); i < count; ++i) {
                const uint64_t operands[3] = {random() & mask, random() & mask, random() & mask};
                ExpectAsReference(f, op, operands, kModes[i % 5], &failures);
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(Arithmetic, EveryPairOfEightBitValuesAsReference) {  // fnuz too: its one zero and one NaN
    int failures = 0;
    for (const BinaryFormat& f : {cv::kE2M1FnFormat, kE4M3, cv::kE4M3FnuzFormat}) {
        const uint64_t count = uint64_t{1} << f.TotalBits();
        for (Operation op : {Operation::kAdd, Operation::kMultiply}) {
            for (RoundingMode mode : kModes) {
                for (uint64_t a = 0; a < count; ++a) {
                    for (uint64_t b = 0; b < count; ++b) {
                        const uint64_t operands[3] = {a, b, 0};
                        ExpectAsReference(f, op, operands, mode, &failures);
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
