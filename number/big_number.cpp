#include "number/big_number.h"

#include <cassert>
#include <cstring>
#include <utility>
#include <vector>

#include "number/digits.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kLimbBits = 32;
constexpr uint32_t kDecimalChunk = kTenToTheNine;  // the most decimal digits a limb takes
constexpr int kDecimalChunkDigits = kTenToTheNineDigits;
constexpr uint32_t kLargestPowerOfFive = 1220703125u;  // 5^13, the largest in a limb
constexpr int kLargestPowerOfFiveExponent = 13;

}  // namespace

void Limbs32::resize(std::size_t size, uint32_t value) {
    if (size > capacity_) Reserve(size);
    for (std::size_t i = size_; i < size; ++i) data_[i] = value;
    size_ = size;
}

void Limbs32::InsertZerosInFront(std::size_t count) {
    const std::size_t old = size_;
    resize(size_ + count);
    std::memmove(data_ + count, data_, old * sizeof(uint32_t));
    for (std::size_t i = 0; i < count; ++i) data_[i] = 0;
}

void Limbs32::EraseFront(std::size_t count) {
    std::memmove(data_, data_ + count, (size_ - count) * sizeof(uint32_t));
    size_ -= count;
}

void Limbs32::Reserve(std::size_t needed) {
    const std::size_t capacity = needed > 2 * capacity_ ? needed : 2 * capacity_;
    uint32_t* larger = new uint32_t[capacity];
    std::memcpy(larger, data_, size_ * sizeof(uint32_t));
    if (data_ != inline_) delete[] data_;
    data_ = larger;
    capacity_ = capacity;
}

void Limbs32::Release() {
    if (data_ != inline_) delete[] data_;
    data_ = inline_;
    capacity_ = kInline;
    size_ = 0;
}

void Limbs32::CopyFrom(const Limbs32& other) {
    size_ = 0;
    if (other.size_ > capacity_) Reserve(other.size_);
    std::memcpy(data_, other.data_, other.size_ * sizeof(uint32_t));
    size_ = other.size_;
}

void Limbs32::MoveFrom(Limbs32* other) {
    if (other->data_ == other->inline_) {
        std::memcpy(inline_, other->inline_, other->size_ * sizeof(uint32_t));
    } else {  // the heap block changes hands
        data_ = other->data_;
        capacity_ = other->capacity_;
        other->data_ = other->inline_;
        other->capacity_ = kInline;
    }
    size_ = other->size_;
    other->size_ = 0;
}

void BigNumber::Assign(uint64_t value) {
    limbs_.clear();
    for (; value != 0; value >>= kLimbBits) limbs_.push_back(static_cast<uint32_t>(value));
}

int BigNumber::BitLength() const {
    if (limbs_.empty()) return 0;
    int bits = static_cast<int>(limbs_.size() - 1) * kLimbBits;
    for (uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
    return bits;
}

bool BigNumber::Bit(int n) const {
    const std::size_t limb = static_cast<std::size_t>(n / kLimbBits);
    return n >= 0 && limb < limbs_.size() && ((limbs_[limb] >> (n % kLimbBits)) & 1u) != 0;
}

bool BigNumber::LowBitsZero(int count) const {
    if (count <= 0) return true;
    const std::size_t whole = static_cast<std::size_t>(count / kLimbBits);
    for (std::size_t i = 0; i < whole && i < limbs_.size(); ++i) {
        if (limbs_[i] != 0) return false;
    }
    const int part = count % kLimbBits;
    return whole >= limbs_.size() || part == 0 || (limbs_[whole] & ((uint32_t{1} << part) - 1)) == 0;
}

// The loops below work on raw limb pointers: they are the hot path of every decimal parse, and stay
// fast in unoptimised (sanitizer) builds too.
void BigNumber::MultiplyAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    uint32_t* limb = limbs_.data();
    for (std::size_t i = 0, n = limbs_.size(); i < n; ++i) {
        const uint64_t product = static_cast<uint64_t>(limb[i]) * factor + carry;
        limb[i] = static_cast<uint32_t>(product);
        carry = product >> kLimbBits;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
    Trim();
}

void BigNumber::Multiply(const BigNumber& other) {
    if (IsZero() || other.IsZero()) {
        limbs_.clear();
        return;
    }
    Limbs32 product;
    product.assign(limbs_.size() + other.limbs_.size(), 0u);
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        uint64_t carry = 0;
        for (std::size_t j = 0; j < other.limbs_.size(); ++j) {
            const uint64_t sum = static_cast<uint64_t>(limbs_[i]) * other.limbs_[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(sum);
            carry = sum >> kLimbBits;
        }
        product[i + other.limbs_.size()] = static_cast<uint32_t>(carry);
    }
    limbs_.swap(product);
    Trim();
}

namespace {

// Powers 5^(13 j), each built once when first asked for, up to this j (5^2600, past every double's
// digits); larger factors are multiplied in by 5^13 at a time.
constexpr int kMostCachedChunks = 200;
// From this many factors of 5^13 on, one multiplication by their cached product is the cheaper.
constexpr int kFewestCachedChunks = 3;

const BigNumber& PowerOfFiveChunks(int chunks) {
    static std::vector<BigNumber> powers(1, BigNumber(1));
    while (static_cast<int>(powers.size()) <= chunks) {
        BigNumber next = powers.back();
        next.MultiplyAdd(kLargestPowerOfFive, 0);
        powers.push_back(std::move(next));
    }
    return powers[static_cast<std::size_t>(chunks)];
}

}  // namespace

void BigNumber::MultiplyByPowerOfFive(int exponent) {
    if (IsZero()) return;
    const int chunks = exponent / kLargestPowerOfFiveExponent;
    if (chunks >= kFewestCachedChunks) {
        const int cached = chunks < kMostCachedChunks ? chunks : kMostCachedChunks;
        Multiply(PowerOfFiveChunks(cached));
        exponent -= cached * kLargestPowerOfFiveExponent;
    }
    for (; exponent >= kLargestPowerOfFiveExponent; exponent -= kLargestPowerOfFiveExponent) {
        MultiplyAdd(kLargestPowerOfFive, 0);
    }
    uint32_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    if (rest != 1) MultiplyAdd(rest, 0);
}

void BigNumber::MultiplyByPowerOfTen(int exponent) {
    MultiplyByPowerOfFive(exponent);
    ShiftLeft(exponent);
}

void BigNumber::ShiftLeft(int bits) {
    if (limbs_.empty() || bits <= 0) return;
    const std::size_t whole = static_cast<std::size_t>(bits / kLimbBits);
    const int part = bits % kLimbBits;
    if (whole != 0) limbs_.InsertZerosInFront(whole);
    if (part == 0) return;
    uint32_t carry = 0;
    uint32_t* limbs = limbs_.data();
    for (std::size_t i = whole, n = limbs_.size(); i < n; ++i) {
        const uint32_t limb = limbs[i];
        limbs[i] = (limb << part) | carry;
        carry = limb >> (kLimbBits - part);
    }
    if (carry != 0) limbs_.push_back(carry);
}

void BigNumber::ShiftRight(int bits) {
    if (bits <= 0) return;
    const std::size_t whole = static_cast<std::size_t>(bits / kLimbBits);
    if (whole >= limbs_.size()) {
        limbs_.clear();
        return;
    }
    if (whole != 0) limbs_.EraseFront(whole);
    const int part = bits % kLimbBits;
    if (part != 0) {
        uint32_t* limbs = limbs_.data();
        const std::size_t n = limbs_.size();
        for (std::size_t i = 0; i + 1 < n; ++i)
            limbs[i] = (limbs[i] >> part) | (limbs[i + 1] << (kLimbBits - part));
        limbs[n - 1] >>= part;
    }
    Trim();
}

void BigNumber::Add(const BigNumber& other) {
    if (limbs_.size() < other.limbs_.size()) limbs_.resize(other.limbs_.size(), 0u);
    uint64_t carry = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        carry += static_cast<uint64_t>(limbs_[i]) + (i < other.limbs_.size() ? other.limbs_[i] : 0u);
        limbs_[i] = static_cast<uint32_t>(carry);
        carry >>= kLimbBits;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
}

void BigNumber::Subtract(const BigNumber& other) {
    assert(Compare(other) >= 0);
    uint64_t borrow = 0;
    uint32_t* limbs = limbs_.data();
    const uint32_t* others = other.limbs_.data();
    const std::size_t otherSize = other.limbs_.size();
    for (std::size_t i = 0, n = limbs_.size(); i < n && (borrow != 0 || i < otherSize); ++i) {
        const uint64_t subtrahend = (i < otherSize ? others[i] : 0u) + borrow;
        const uint64_t limb = limbs[i];
        borrow = limb < subtrahend ? 1 : 0;
        limbs[i] = static_cast<uint32_t>(limb + (borrow << kLimbBits) - subtrahend);
    }
    Trim();
}

int BigNumber::Compare(const BigNumber& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size() ? -1 : 1;
    const uint32_t* limbs = limbs_.data();
    const uint32_t* others = other.limbs_.data();
    for (std::size_t i = limbs_.size(); i-- > 0;) {
        if (limbs[i] != others[i]) return limbs[i] < others[i] ? -1 : 1;
    }
    return 0;
}

uint64_t BigNumber::Low64() const {
    uint64_t value = limbs_.empty() ? 0u : limbs_[0];
    if (limbs_.size() > 1) value |= static_cast<uint64_t>(limbs_[1]) << kLimbBits;
    return value;
}

std::string BigNumber::ToDecimal() const {
    // Repeated division by 10^9 gives the chunks, least significant first.
    Limbs32 rest = limbs_;
    Limbs32 chunks;
    while (!rest.empty()) {
        uint64_t remainder = 0;
        for (std::size_t i = rest.size(); i-- > 0;) {
            const uint64_t part = (remainder << kLimbBits) | rest[i];
            rest[i] = static_cast<uint32_t>(part / kDecimalChunk);
            remainder = part % kDecimalChunk;
        }
        while (!rest.empty() && rest.back() == 0) rest.pop_back();
        chunks.push_back(static_cast<uint32_t>(remainder));
    }
    if (chunks.empty()) return "0";
    std::string text;
    text.reserve(chunks.size() * kDecimalChunkDigits);
    AppendDecimal(chunks.back(), &text);
    const std::size_t top = text.size();
    text.resize(top + (chunks.size() - 1) * kDecimalChunkDigits);
    WriteNineDigitGroups(chunks.data(), chunks.size() - 1, &text[top]);
    return text;
}

// Long division in base 2^32 with each quotient limb estimated from the top two limbs of the
// remainder and the divisor's top limb (normalised so that its top bit is set), corrected at most
// twice, and added back in the rare case the estimate was still one too large.
void BigNumber::DivideModulo(const BigNumber& divisor, BigNumber* quotient) {
    assert(!divisor.IsZero() && quotient != this && &divisor != this);
    quotient->limbs_.clear();
    if (Compare(divisor) < 0) return;
    constexpr uint64_t kBase = uint64_t{1} << kLimbBits;
    constexpr uint64_t kLimbMask = kBase - 1;
    const std::size_t n = divisor.limbs_.size();
    if (n == 1) {
        const uint64_t d = divisor.limbs_[0];
        quotient->limbs_.assign(limbs_.size(), 0);
        uint64_t remainder = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const uint64_t current = (remainder << kLimbBits) | limbs_[i];
            quotient->limbs_[i] = static_cast<uint32_t>(current / d);
            remainder = current % d;
        }
        limbs_.assign(1, static_cast<uint32_t>(remainder));
        Trim();
        quotient->Trim();
        return;
    }
    int shift = 0;
    for (uint32_t top = divisor.limbs_.back(); (top & 0x80000000u) == 0; top <<= 1) ++shift;
    BigNumber v = divisor;
    v.ShiftLeft(shift);
    const std::size_t m = limbs_.size();
    ShiftLeft(shift);
    limbs_.resize(m + 1, 0);  // the dividend's extra top limb (zero where the shift carried nothing)
    uint32_t* u = limbs_.data();
    const uint32_t* vn = v.limbs_.data();
    quotient->limbs_.assign(m - n + 1, 0);
    for (std::size_t j = m - n + 1; j-- > 0;) {
        const uint64_t top = (static_cast<uint64_t>(u[j + n]) << kLimbBits) | u[j + n - 1];
        uint64_t estimate = top / vn[n - 1];
        uint64_t rest = top % vn[n - 1];
        while (estimate >= kBase || estimate * vn[n - 2] > ((rest << kLimbBits) | u[j + n - 2])) {
            --estimate;
            rest += vn[n - 1];
            if (rest >= kBase) break;
        }
        // u[j .. j+n] -= estimate * v, with a borrow.
        int64_t borrow = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const uint64_t product = estimate * vn[i];
            const int64_t t =
                static_cast<int64_t>(u[i + j]) - borrow - static_cast<int64_t>(product & kLimbMask);
            u[i + j] = static_cast<uint32_t>(t);
            borrow = static_cast<int64_t>(product >> kLimbBits) - (t >> kLimbBits);
        }
        const int64_t t = static_cast<int64_t>(u[j + n]) - borrow;
        u[j + n] = static_cast<uint32_t>(t);
        if (t < 0) {  // one too many: add the divisor back
            --estimate;
            uint64_t carry = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const uint64_t sum = static_cast<uint64_t>(u[i + j]) + vn[i] + carry;
                u[i + j] = static_cast<uint32_t>(sum);
                carry = sum >> kLimbBits;
            }
            u[j + n] = static_cast<uint32_t>(u[j + n] + carry);
        }
        quotient->limbs_[j] = static_cast<uint32_t>(estimate);
    }
    Trim();
    ShiftRight(shift);
    quotient->Trim();
}

void BigNumber::Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

}  // namespace cv
