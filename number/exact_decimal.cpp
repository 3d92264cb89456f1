#include "number/exact_decimal.h"

#include <algorithm>

#include <cassert>
#include <vector>

#include "number/digits.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

using Limbs = std::vector<uint32_t>;  // base 10^9, least significant first

constexpr uint32_t kLimbBase = kTenToTheNine;
constexpr int kLimbDigits = 9;
// Powers up to this exponent are kept once computed: enough for every double, its rounding
// interval, and the exact product of two doubles (down to 2^-2148, each chunk of it up to 2^2010);
// wider custom layouts compute theirs on each use.
constexpr int kCachedExponent = 2300;
constexpr uint32_t kFiveTo12 = 244140625u;  // the largest power of five below 10^9
constexpr int kFiveTo12Exponent = 12;
constexpr uint32_t kTwoTo29 = 536870912u;  // the largest power of two below 10^9
constexpr int kTwoTo29Exponent = 29;

void TrimLimbs(Limbs* limbs) {
    while (!limbs->empty() && limbs->back() == 0) limbs->pop_back();
}

void MultiplySmall(Limbs* limbs, uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& limb : *limbs) {
        const uint64_t product = static_cast<uint64_t>(limb) * factor + carry;
        limb = static_cast<uint32_t>(product % kLimbBase);
        carry = product / kLimbBase;
    }
    while (carry != 0) {
        limbs->push_back(static_cast<uint32_t>(carry % kLimbBase));
        carry /= kLimbBase;
    }
}

// base^exponent (base 2 or 5), built from the largest cached power below it.
class PowerTable {
public:
    explicit PowerTable(uint32_t base) : base_(base) { powers_.push_back(Limbs{1u}); }

    const Limbs& Get(int exponent) {
        if (exponent <= kCachedExponent) {
            while (static_cast<int>(powers_.size()) <= exponent) {
                Limbs next = powers_.back();
                MultiplySmall(&next, base_);
                powers_.push_back(std::move(next));
            }
            return powers_[static_cast<std::size_t>(exponent)];
        }
        scratch_ = Get(kCachedExponent);
        const uint32_t chunk = base_ == 5 ? kFiveTo12 : kTwoTo29;
        const int chunkExponent = base_ == 5 ? kFiveTo12Exponent : kTwoTo29Exponent;
        int rest = exponent - kCachedExponent;
        for (; rest >= chunkExponent; rest -= chunkExponent) MultiplySmall(&scratch_, chunk);
        for (; rest > 0; --rest) MultiplySmall(&scratch_, base_);
        return scratch_;
    }

private:
    uint32_t base_;
    std::vector<Limbs> powers_;
    Limbs scratch_;
};

PowerTable& Fives() {
    static PowerTable table(5);
    return table;
}

PowerTable& Twos() {
    static PowerTable table(2);
    return table;
}

// A multiplier in base-10^9 parts, least significant first: a 64-bit number times a power of ten
// below a limb (under 19 * 10^26) takes at most four, the top one 0 or 1.
struct Multiplier {
    static constexpr std::size_t kMostParts = 4;
    uint64_t parts[kMostParts] = {};
    std::size_t count = 0;
};

// x * factor as parts (factor a power of ten below a limb, 1 for x itself).
Multiplier PartsOf(uint64_t x, uint32_t factor = 1) {
    Multiplier m;
    uint64_t carry = 0;
    for (; x != 0 || m.count == 0; x /= kLimbBase) {
        const uint64_t scaled = x % kLimbBase * factor + carry;  // under 10^18
        m.parts[m.count++] = scaled % kLimbBase;
        carry = scaled / kLimbBase;
    }
    for (; carry != 0; carry /= kLimbBase) m.parts[m.count++] = carry % kLimbBase;
    return m;
}

// product = power * m, one output limb at a time: m's parts times the power's limbs below it, whose
// sum (under 4 * 10^18 plus the carry) fits 64 bits.
void MultiplyByParts(const Limbs& power, const Multiplier& m, Limbs* product) {
    const std::size_t n = power.size();
    product->resize(n + m.count);
    uint32_t* out = product->data();
    const uint32_t* p = power.data();
    uint64_t carry = 0;
    if (m.count <= 2) {  // below 10^18, as every double's significand: two parts a limb
        const uint64_t low = m.parts[0];
        const uint64_t high = m.parts[1];
        uint64_t previous = 0;  // the power's limb below
        for (std::size_t i = 0; i < n; ++i) {
            const uint64_t sum = p[i] * low + previous * high + carry;
            out[i] = static_cast<uint32_t>(sum % kLimbBase);
            carry = sum / kLimbBase;
            previous = p[i];
        }
        const uint64_t sum = previous * high + carry;
        out[n] = static_cast<uint32_t>(sum % kLimbBase);
        carry = sum / kLimbBase;
        if (m.count == 2) out[n + 1] = static_cast<uint32_t>(carry);
        TrimLimbs(product);
        return;
    }
    uint64_t below[Multiplier::kMostParts] = {};  // the power's limbs 0, 1, 2 and 3 below this one
    for (std::size_t i = 0; i < n + m.count; ++i) {
        below[3] = below[2];
        below[2] = below[1];
        below[1] = below[0];
        below[0] = i < n ? p[i] : 0u;
        const uint64_t sum = below[0] * m.parts[0] + below[1] * m.parts[1] + below[2] * m.parts[2] +
                             below[3] * m.parts[3] + carry;
        out[i] = static_cast<uint32_t>(sum % kLimbBase);
        carry = sum / kLimbBase;
    }
    TrimLimbs(product);
}

void MultiplyByUint64(const Limbs& power, uint64_t x, Limbs* product) {
    MultiplyByParts(power, PartsOf(x), product);
}

// Writes a number's top limb as nine digits into top and returns where its own digits begin (after
// the leading zeros; the last digit stays, for a zero).
std::size_t WriteTopLimb(uint32_t limb, char* top) {
    WriteNineDigits(limb, top);
    std::size_t start = 0;
    while (start + 1 < kLimbDigits && top[start] == '0') ++start;
    return start;
}

void LimbsToDigits(const Limbs& limbs, std::string* digits) {
    digits->clear();
    if (limbs.empty()) return;
    char top[kLimbDigits];
    const std::size_t topStart = WriteTopLimb(limbs.back(), top);
    const std::size_t topLength = kLimbDigits - topStart;
    digits->resize(topLength + (limbs.size() - 1) * kLimbDigits);
    char* out = &(*digits)[0];
    for (std::size_t i = 0; i < topLength; ++i) out[i] = top[topStart + i];
    out += topLength;
    WriteNineDigitGroups(limbs.data(), limbs.size() - 1, out);
}

// Appends the plain decimal of limbs with fractionDigits of its digits after the point, as
// AppendPlain writes it, straight from the limbs: no digit string in between.
void AppendPlainLimbs(const Limbs& limbs, int fractionDigits, bool negative, std::string* text) {
    if (negative) *text += '-';
    if (limbs.empty()) {
        *text += '0';
        return;
    }
    char top[kLimbDigits];
    const std::size_t topStart = WriteTopLimb(limbs.back(), top);
    const std::size_t topLength = kLimbDigits - topStart;
    const std::size_t length = topLength + (limbs.size() - 1) * kLimbDigits;
    const std::size_t fraction = static_cast<std::size_t>(fractionDigits);
    const std::size_t leadingZeros = length <= fraction ? fraction - length : 0;  // after "0."
    const std::size_t start = text->size();
    text->reserve(start + 2 + leadingZeros + length + 1);  // "0." or the point inserted below
    text->resize(start + (length <= fraction ? 2 + leadingZeros : 0) + length);
    char* out = &(*text)[start];
    if (length <= fraction) {
        *out++ = '0';
        *out++ = '.';
        for (std::size_t i = 0; i < leadingZeros; ++i) *out++ = '0';
    }
    for (std::size_t i = 0; i < topLength; ++i) out[i] = top[topStart + i];
    out += topLength;
    WriteNineDigitGroups(limbs.data(), limbs.size() - 1, out);
    // The fraction's trailing zeros go, and the point with them when nothing is left after it.
    std::size_t end = text->size();
    const std::size_t fractionStart = end - std::min(fraction, length);
    while (end > fractionStart && (*text)[end - 1] == '0') --end;
    if (length <= fraction) {
        text->resize(end);
    } else if (end > fractionStart) {
        text->resize(end);
        text->insert(fractionStart, 1, '.');
    } else {
        text->resize(fractionStart);
    }
}

// A plain decimal text's parts: its sign, and its integer and fraction digits.
struct PlainView {
    bool negative = false;
    const char* integer = nullptr;
    std::size_t integerDigits = 0;
    const char* fraction = nullptr;
    std::size_t fractionDigits = 0;
};

PlainView ViewPlain(const std::string& text) {
    PlainView view;
    view.negative = !text.empty() && text[0] == '-';
    const std::size_t start = view.negative ? 1 : 0;
    const std::size_t point = std::min(text.find('.', start), text.size());
    view.integer = text.data() + start;
    view.integerDigits = point - start;
    view.fraction = point < text.size() ? text.data() + point + 1 : text.data() + text.size();
    view.fractionDigits = point < text.size() ? text.size() - point - 1 : 0;
    return view;
}

// The view's digits at the place frame of `integer` digits before the point and `fraction` after,
// zeros around them.
void AlignDigits(const PlainView& view, std::size_t integer, std::size_t fraction, std::string* digits) {
    digits->assign(integer + fraction, '0');
    std::copy(view.integer, view.integer + view.integerDigits,
              digits->begin() + (integer - view.integerDigits));
    std::copy(view.fraction, view.fraction + view.fractionDigits, digits->begin() + integer);
}

}  // namespace

void ExpandBinary(uint64_t x, int q, DecimalDigits* out) {
    static Limbs product;
    out->fractionDigits = q < 0 ? -q : 0;
    const Limbs& power = q < 0 ? Fives().Get(-q) : Twos().Get(q);
    MultiplyByUint64(power, x, &product);
    LimbsToDigits(product, &out->digits);
}

void ExpandAlignedHeads(const uint64_t x[3], int q, AlignedHeads* out) {
    assert(x[0] < x[1] && x[1] < x[2]);
    static Limbs values[3];
    const Limbs& power = q < 0 ? Fives().Get(-q) : Twos().Get(q);
    for (int i = 0; i < 3; ++i) MultiplyByUint64(power, x[i], &values[i]);
    const std::size_t n = values[2].size();
    for (Limbs& value : values) value.resize(n, 0u);
    std::size_t parting = n - 1;
    while (parting > 0 && values[0][parting] == values[2][parting]) --parting;
    const std::size_t cut = parting >= 2 ? parting - 2 : 0;
    out->fullLength = 1 + n * kLimbDigits;
    out->fractionDigits = q < 0 ? -q : 0;
    for (int i = 0; i < 3; ++i) {
        std::string& head = out->heads[i];
        head.assign(1 + (n - cut) * kLimbDigits, '0');
        char* text = &head[1];
        for (std::size_t limb = n; limb-- > cut; text += kLimbDigits) WriteNineDigits(values[i][limb], text);
        if (cut == 0) continue;
        bool cutNonZero = false;
        for (std::size_t limb = 0; limb < cut && !cutNonZero; ++limb) cutNonZero = values[i][limb] != 0;
        head += cutNonZero ? '1' : '0';
    }
}

void AppendPlain(const DecimalDigits& digits, bool negative, std::string* text) {
    const std::string& d = digits.digits;
    text->reserve(text->size() + d.size() + 3);  // sign, a leading zero, the point: one allocation
    if (negative) *text += '-';
    if (d.empty()) {
        *text += '0';
        return;
    }
    const std::size_t length = d.size();
    const std::size_t fraction = static_cast<std::size_t>(digits.fractionDigits);
    std::size_t end = length;  // drop the fraction's trailing zeros
    while (end > 0 && length - end < fraction && d[end - 1] == '0') --end;
    if (length <= fraction) {
        text->append("0.");
        text->append(fraction - length, '0');
        text->append(d, 0, end);
        return;
    }
    const std::size_t integer = length - fraction;
    text->append(d, 0, integer);
    if (end > integer) {
        *text += '.';
        text->append(d, integer, end - integer);
    }
}

void AppendPlainBinary(uint64_t x, int q, bool negative, std::string* text) {
    static Limbs product;
    const Limbs& power = q < 0 ? Fives().Get(-q) : Twos().Get(q);
    if (x == 1) {  // an ulp: the power's own digits
        AppendPlainLimbs(power, q < 0 ? -q : 0, negative, text);
        return;
    }
    MultiplyByUint64(power, x, &product);
    AppendPlainLimbs(product, q < 0 ? -q : 0, negative, text);
}

namespace {

// sum += addend * 10^(9 * offset): limbs of one frame, sum long enough to hold the result after a
// carry.
void AddLimbsAt(const Limbs& addend, std::size_t offset, Limbs* sum) {
    if (sum->size() < offset + addend.size() + 1) sum->resize(offset + addend.size() + 1, 0u);
    uint32_t carry = 0;
    std::size_t i = 0;
    for (; i < addend.size(); ++i) {
        uint32_t& limb = (*sum)[offset + i];
        limb += addend[i] + carry;
        carry = limb >= kLimbBase ? 1u : 0u;
        limb -= carry * kLimbBase;
    }
    for (std::size_t at = offset + i; carry != 0; ++at) {
        if (at == sum->size()) sum->push_back(0u);
        uint32_t& limb = (*sum)[at];
        limb += carry;
        carry = limb >= kLimbBase ? 1u : 0u;
        limb -= carry * kLimbBase;
    }
}

// Compares two limb numbers whose top limbs may be zero.
int CompareLimbs(const Limbs& a, const Limbs& b) {
    for (std::size_t i = std::max(a.size(), b.size()); i-- > 0;) {
        const uint32_t x = i < a.size() ? a[i] : 0u;
        const uint32_t y = i < b.size() ? b[i] : 0u;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

// larger -= smaller (larger not below smaller).
void SubtractLimbs(const Limbs& smaller, Limbs* larger) {
    uint32_t borrow = 0;
    for (std::size_t i = 0; i < larger->size(); ++i) {
        const uint32_t take = (i < smaller.size() ? smaller[i] : 0u) + borrow;
        uint32_t& limb = (*larger)[i];
        borrow = limb < take ? 1u : 0u;
        limb = limb + borrow * kLimbBase - take;
    }
    assert(borrow == 0);
}

constexpr uint32_t kPowersOfTenBelowLimb[kLimbDigits] = {1u,      10u,      100u,      1000u,     10000u,
                                                         100000u, 1000000u, 10000000u, 100000000u};

}  // namespace

void AppendBinarySum(const BinaryTerm* terms, int count, std::string* text) {
    BinarySum sum;
    sum.Assign(terms, count);
    sum.Append(text);
}

namespace {

// The term's expansion moved onto a frame of frameDigits digits after the point (no fewer than the
// term's own): into *expansion, the term times the power of ten below a limb that lines it up;
// returns the limbs it stands above the frame's lowest.
std::size_t ExpandOnFrame(const BinaryTerm& term, int frameDigits, Limbs* expansion) {
    const Limbs& power = term.q < 0 ? Fives().Get(-term.q) : Twos().Get(term.q);
    const int shift = frameDigits - std::max(0, -term.q);  // places to move left
    MultiplyByParts(power, PartsOf(term.x, kPowersOfTenBelowLimb[shift % kLimbDigits]), expansion);
    return static_cast<std::size_t>(shift / kLimbDigits);
}

}  // namespace

void BinarySum::Assign(const BinaryTerm* terms, int count, int minFractionDigits) {
    // One frame for all: as many fraction digits as the finest term has, so that it lines up as it
    // is, and each other term after a shift by whole limbs and a multiplication by a power of ten
    // below a limb.
    int fraction = std::max(0, minFractionDigits);
    for (int i = 0; i < count; ++i) {
        if (terms[i].x != 0) fraction = std::max(fraction, -terms[i].q);
    }
    frameDigits_ = fraction;
    Limbs& positive = magnitude_;
    Limbs& negative = other_;
    positive.clear();
    negative.clear();
    for (int i = 0; i < count; ++i) {
        const BinaryTerm& term = terms[i];
        if (term.x == 0) continue;
        const std::size_t offset = ExpandOnFrame(term, frameDigits_, &expansion_);
        AddLimbsAt(expansion_, offset, term.negative ? &negative : &positive);
    }
    negative_ = CompareLimbs(positive, negative) < 0;
    if (negative_) {
        SubtractLimbs(positive, &negative);
        magnitude_.swap(other_);
    } else {
        SubtractLimbs(negative, &positive);
    }
    TrimLimbs(&magnitude_);
}

bool BinarySum::SubtractFrom(const BinaryTerm& term) {
    if (term.x != 0 && -term.q > frameDigits_) return false;
    Limbs& taken = other_;  // |term| on the frame
    taken.clear();
    if (term.x != 0) {
        const std::size_t offset = ExpandOnFrame(term, frameDigits_, &expansion_);
        AddLimbsAt(expansion_, offset, &taken);
    }
    // term - sum = term + (-sum): with one sign the magnitudes add, else the smaller is taken from
    // the larger, whose sign the difference has.
    const bool sumNegated = !negative_;
    if (term.negative == sumNegated) {
        AddLimbsAt(taken, 0, &magnitude_);
        negative_ = term.negative;
    } else if (CompareLimbs(taken, magnitude_) >= 0) {
        SubtractLimbs(magnitude_, &taken);
        magnitude_.swap(taken);
        negative_ = term.negative;
    } else {
        SubtractLimbs(taken, &magnitude_);
        negative_ = sumNegated;
    }
    TrimLimbs(&magnitude_);
    return true;
}

void BinarySum::Append(std::string* text) const {
    if (magnitude_.empty()) {
        *text += '0';
        return;
    }
    AppendPlainLimbs(magnitude_, frameDigits_, negative_, text);
}

void AppendDecimalDifference(const std::string& aText, const std::string& bText, std::string* text) {
    const PlainView a = ViewPlain(aText);
    const PlainView b = ViewPlain(bText);
    const std::size_t integer = std::max(a.integerDigits, b.integerDigits);
    const std::size_t fraction = std::max(a.fractionDigits, b.fractionDigits);
    std::string x;
    std::string y;
    AlignDigits(a, integer, fraction, &x);
    AlignDigits(b, integer, fraction, &y);
    // a - b = a + (-b): with equal signs after the flip the magnitudes add, else the smaller is
    // taken from the larger, whose sign the result has. Aligned, the digit texts compare as the
    // magnitudes do.
    const bool bNegated = !b.negative;
    const bool add = a.negative == bNegated;
    const int order = add ? 1 : x.compare(y);
    const std::string& larger = order >= 0 ? x : y;
    const std::string& smaller = order >= 0 ? y : x;
    const bool negative = add || order >= 0 ? a.negative : bNegated;
    std::string digits(x.size() + 1, '0');  // one more place on top for a carry
    const char* high = larger.data();
    const char* low = smaller.data();
    char* out = &digits[1];
    int carry = 0;
    if (add) {
        for (std::size_t i = x.size(); i-- > 0;) {
            const int digit = high[i] + low[i] - 2 * '0' + carry;
            carry = digit >= 10 ? 1 : 0;
            out[i] = static_cast<char>('0' + digit - 10 * carry);
        }
        digits[0] = static_cast<char>('0' + carry);
    } else {
        for (std::size_t i = x.size(); i-- > 0;) {
            const int digit = high[i] - low[i] - carry;
            carry = digit < 0 ? 1 : 0;
            out[i] = static_cast<char>('0' + digit + 10 * carry);
        }
    }
    const std::size_t integerEnd = integer + 1;  // digits[0..integerEnd) stand before the point
    std::size_t first = 0;
    while (first + 1 < integerEnd && digits[first] == '0') ++first;
    std::size_t last = digits.size();
    while (last > integerEnd && digits[last - 1] == '0') --last;
    const bool zero = order == 0 || (first + 1 == integerEnd && digits[first] == '0' && last == integerEnd);
    if (negative && !zero) *text += '-';
    text->append(digits, first, integerEnd - first);
    if (last > integerEnd) {
        *text += '.';
        text->append(digits, integerEnd, last - integerEnd);
    }
}

void ScaleDecimalDigits(const std::string& digits, int twos, int fives, std::string* out) {
    Limbs limbs;
    for (std::size_t end = digits.size(); end > 0;) {
        const std::size_t begin = end >= kLimbDigits ? end - kLimbDigits : 0;
        uint32_t limb = 0;
        for (std::size_t i = begin; i < end; ++i) limb = limb * 10 + static_cast<uint32_t>(digits[i] - '0');
        limbs.push_back(limb);
        end = begin;
    }
    for (; twos >= kTwoTo29Exponent; twos -= kTwoTo29Exponent) MultiplySmall(&limbs, kTwoTo29);
    if (twos > 0) MultiplySmall(&limbs, 1u << twos);
    for (; fives >= kFiveTo12Exponent; fives -= kFiveTo12Exponent) MultiplySmall(&limbs, kFiveTo12);
    uint32_t rest = 1;
    for (; fives > 0; --fives) rest *= 5;
    if (rest != 1) MultiplySmall(&limbs, rest);
    LimbsToDigits(limbs, out);
}

}  // namespace cv
