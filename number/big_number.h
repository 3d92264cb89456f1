// An arbitrary-precision natural number in 32-bit limbs: what exact decimal-to-binary conversion
// needs (building a decimal's digits, powers of five and ten, scaling by powers of two, comparing
// and subtracting for a quotient bit by bit), plus its own decimal text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cv {

// A BigNumber's limbs: in place up to kInline of them (the operands, results and roots of one float
// operation), on the heap beyond. Allocating them was a tenth of an arithmetic explanation's time.
class Limbs32 {
public:
    static constexpr std::size_t kInline = 8;

    Limbs32() = default;
    Limbs32(const Limbs32& other) { CopyFrom(other); }
    Limbs32(Limbs32&& other) noexcept { MoveFrom(&other); }
    Limbs32& operator=(const Limbs32& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    Limbs32& operator=(Limbs32&& other) noexcept {
        if (this != &other) {
            Release();
            MoveFrom(&other);
        }
        return *this;
    }
    ~Limbs32() { Release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    uint32_t* data() { return data_; }
    const uint32_t* data() const { return data_; }
    uint32_t& operator[](std::size_t i) { return data_[i]; }
    uint32_t operator[](std::size_t i) const { return data_[i]; }
    uint32_t back() const { return data_[size_ - 1]; }

    void clear() { size_ = 0; }
    void push_back(uint32_t limb) {
        if (size_ == capacity_) Reserve(size_ + 1);
        data_[size_++] = limb;
    }
    void pop_back() { --size_; }
    // New limbs take value.
    void resize(std::size_t size, uint32_t value = 0);
    void assign(std::size_t size, uint32_t value) {
        size_ = 0;
        resize(size, value);
    }
    // count zero limbs in front of (below) the others; the lowest count limbs dropped.
    void InsertZerosInFront(std::size_t count);
    void EraseFront(std::size_t count);
    void swap(Limbs32& other) {
        Limbs32 held(std::move(other));
        other = std::move(*this);
        *this = std::move(held);
    }

private:
    void Reserve(std::size_t needed);
    void Release();
    void CopyFrom(const Limbs32& other);
    void MoveFrom(Limbs32* other);

    uint32_t* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = kInline;
    uint32_t inline_[kInline];
};

class BigNumber {
public:
    BigNumber() = default;
    explicit BigNumber(uint64_t value) { Assign(value); }

    void Assign(uint64_t value);
    bool IsZero() const { return limbs_.empty(); }
    int BitLength() const;
    // Bit n (0 is the lowest).
    bool Bit(int n) const;
    // Whether the lowest count bits are all zero.
    bool LowBitsZero(int count) const;

    // *this = *this * factor + addend.
    void MultiplyAdd(uint32_t factor, uint32_t addend);
    void Multiply(const BigNumber& other);
    void MultiplyByPowerOfFive(int exponent);
    void MultiplyByPowerOfTen(int exponent);
    void ShiftLeft(int bits);
    void ShiftRight(int bits);
    void Add(const BigNumber& other);
    // Requires *this >= other.
    void Subtract(const BigNumber& other);
    // *quotient = floor(*this / divisor) and *this the remainder (divisor not zero), a limb of the
    // quotient at a time.
    void DivideModulo(const BigNumber& divisor, BigNumber* quotient);
    // -1, 0 or 1 as *this is below, equal to or above other.
    int Compare(const BigNumber& other) const;

    // The lowest 64 bits.
    uint64_t Low64() const;
    // Plain decimal digits, "0" for zero.
    std::string ToDecimal() const;

private:
    void Trim();

    Limbs32 limbs_;  // least significant first, no zero limb on top
};

}  // namespace cv
