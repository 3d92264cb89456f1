// The window's decimal scanner over the one decimal-to-binary core, against glibc's correctly
// rounding strtod and strtof over many random texts of the window's grammar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "engine/text_to_number.h"
#include "number/big_number.h"
#include "number/ieee754.h"

#ifdef __GLIBC__
namespace cv {
namespace {

uint64_t DoubleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

class TextMaker {
public:
    explicit TextMaker(uint32_t seed) : random_(seed) {}

    std::string Next() {
        std::string text = Blanks() + Sign();
        switch (Below(6)) {
            case 0: text += Mantissa(Below(25)) + Exponent(Below(700) - 350); break;
            case 1: text += Tie(); break;
            case 2: text += "1.79769313486231" + Digits(Below(30)) + Exponent(308 - Below(2)); break;
            case 3: text += Mantissa(1 + Below(20)) + Exponent(-300 - Below(40)); break;
            case 4: text += "2.47032822920623" + Digits(Below(30)) + Exponent(-324); break;
            default: text += Mantissa(Below(1200)) + Exponent(Below(1400) - 700); break;
        }
        if (Below(8) == 0) text += Junk();
        return text;
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

    std::string Blanks() {
        static const char kBlanks[] = " \t\n\v\f\r";
        std::string blanks;
        for (int n = Below(4) == 0 ? Below(3) : 0; n > 0; --n) blanks += kBlanks[Below(6)];
        return blanks;
    }
    std::string Sign() {
        const int pick = Below(4);
        return pick == 0 ? "-" : pick == 1 ? "+" : "";
    }
    std::string Digits(int count) {
        std::string digits;
        const bool zeros = Below(6) == 0;  // runs of zeros make exact and tied values likelier
        for (int i = 0; i < count; ++i)
            digits += static_cast<char>('0' + (zeros && Below(3) != 0 ? 0 : Below(10)));
        return digits;
    }
    std::string Mantissa(int count) {
        std::string text = Digits(count);
        if (Below(3) != 0) text.insert(static_cast<std::size_t>(Below(count + 1)), ".");
        return text;
    }
    std::string Exponent(int value) {
        if (Below(5) == 0) return "";
        static const char kLetters[] = "eEdD";
        std::string text(1, kLetters[Below(4)]);
        if (value < 0) {
            text += '-';
        } else if (Below(2) == 0) {
            text += '+';
        }
        if (Below(12) == 0) return text;  // a letter without digits
        return text + std::string(static_cast<std::size_t>(Below(3)), '0') +
               std::to_string(value < 0 ? -value : value);
    }
    std::string Junk() {
        static const char* const kJunk[] = {"x", " 1", "e", "e+", ".5", "-3", "d", "inf", ",2"};
        return kJunk[Below(9)];
    }
    // The exact half-way point between a random finite double and its successor, every digit.
    std::string Tie() {
        const uint64_t bits =
            (static_cast<uint64_t>(random_()) << 32 | random_()) % kDoubleFormat.ExponentMask();
        const int biased = static_cast<int>(bits >> kDoubleFormat.mantissaBits);
        uint64_t significand = bits & kDoubleFormat.MantissaMask();
        if (biased != 0) significand |= kDoubleFormat.HiddenBit();
        const int power = (biased == 0 ? 1 : biased) - kDoubleFormat.Bias() - kDoubleFormat.mantissaBits;
        BigNumber half(2 * significand + 1);  // the midpoint is half * 2^(power - 1)
        if (power - 1 >= 0) {
            half.ShiftLeft(power - 1);
            return half.ToDecimal();
        }
        half.MultiplyByPowerOfFive(1 - power);
        std::string digits = half.ToDecimal();
        const std::size_t fraction = static_cast<std::size_t>(1 - power);
        if (Below(2) == 0) return digits + "e-" + std::to_string(fraction);
        if (digits.size() <= fraction) digits.insert(0, fraction - digits.size() + 1, '0');
        digits.insert(digits.size() - fraction, ".");
        return digits;
    }

    std::mt19937 random_;
};

// The number the window reads, as strtod's grammar writes it: white space, sign, mantissa, an "e"
// exponent only when it has digits, nothing after; "0" when there is no digit at all.
std::string AsLibraryText(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return "0";
    std::string out;
    if (text[i] == '+' || text[i] == '-') out += text[i++];
    const std::size_t start = i;
    while (i < text.size() && (IsDigit(text[i]) || (text[i] == '.' && text.find('.', start) == i)))
        out += text[i++];
    if (out.find_first_of("0123456789") == std::string::npos) return "0";
    if (i < text.size() && std::strchr("eEdD", text[i]) != nullptr) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
            out += exponent;
        }
    }
    return out;
}

TEST(TextToRealBits, AgreesWithStrtodAndStrtofOverRandomWindowTexts) {
    TextMaker maker(20261209);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = maker.Next();
        const std::string library = AsLibraryText(text);
        ASSERT_EQ(TextToRealBits(text.c_str(), kDoubleFormat),
                  DoubleBits(std::strtod(library.c_str(), nullptr)))
            << '"' << text << '"';
        const float single = std::strtof(library.c_str(), nullptr);
        uint32_t singleBits;
        std::memcpy(&singleBits, &single, sizeof singleBits);
        ASSERT_EQ(TextToRealBits(text.c_str(), kSingleFormat), singleBits) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace cv
#endif
