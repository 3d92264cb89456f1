#include "engine/bit_ops.h"

namespace cv {

namespace {

// The view as one unsigned number, and what of BitValue lies outside it.
struct ShiftUnit {
    uint64_t mask;    // the bits in view
    uint64_t topBit;  // bit W-1
    bool valid;
};

ShiftUnit UnitForByteCount() {
    switch (ByteCount) {
        case 1: return {0xFFull, 1ull << 7, true};
        case 2: return {0xFFFFull, 1ull << 15, true};
        case 4: return {0xFFFFFFFFull, 1ull << 31, true};
        case 8: return {~0ull, 1ull << 63, true};
        default: return {0, 0, false};
    }
}

// Puts the shifted view back, leaving every bit above it as it was.
void StoreView(const ShiftUnit& unit, uint64_t view) {
    SetValue64((Value64() & ~unit.mask) | (view & unit.mask));
}

bool ShiftsInOne(bool pushedOutBitSet) {
    return ShiftMode == IDM_SHIFT1 || (ShiftMode == IDM_ROTATE && pushedOutBitSet);
}

}  // namespace

void ShiftBitsLeft(WindowRef owner) {
    const ShiftUnit unit = UnitForByteCount();
    if (!unit.valid) {
        ReportInternalError(owner, "Unexpected Byte Count in IDM_BITSHIFTL");
        return;
    }
    const uint64_t view = Value64() & unit.mask;
    uint64_t shifted = (view << 1) & unit.mask;
    if (ShiftsInOne((view & unit.topBit) != 0)) shifted |= 1;
    StoreView(unit, shifted);
}

void ShiftBitsRight(WindowRef owner) {
    const ShiftUnit unit = UnitForByteCount();
    if (!unit.valid) {
        ReportInternalError(owner, "Unexpected Byte Count in IDM_BITSHIFTR");
        return;
    }
    const uint64_t view = Value64() & unit.mask;
    uint64_t shifted = view >> 1;  // logical for every size: the sign is not kept
    if (ShiftsInOne((view & 1) != 0)) shifted |= unit.topBit;
    StoreView(unit, shifted);
}

void FillBits(uint8_t fill) {
    for (unsigned i = 0; i < ByteCount && i < 8; ++i) SetByte(i, fill);
}

void FlipBits() {
    for (unsigned i = 0; i < ByteCount && i < 8; ++i) SetByte(i, static_cast<uint8_t>(~GetByte(i)));
}

void ToggleBit(int n) {
    const unsigned bit = static_cast<unsigned>(n) & 63u;
    BitValue[bit / 32] ^= 1u << (bit % 32);
}

void MoveFocusBit(FocusMove move) {
    const uint32_t width = ByteCount * 8;
    const uint32_t focus = static_cast<uint32_t>(FocusBit);
    uint32_t candidate = focus;
    switch (move) {
        case FocusMove::kLeft: candidate = focus + 1; break;
        case FocusMove::kRight: candidate = focus - 1; break;
        case FocusMove::kUp: candidate = ByteCount == 8 ? focus + 32 : focus + 1; break;
        case FocusMove::kDown: candidate = ByteCount == 8 ? focus + 32 : focus - 1; break;
        case FocusMove::kFirst: candidate = 0; break;
        case FocusMove::kLast: candidate = width - 1; break;
        default: return;
    }
    // Unsigned wrap: W divides 2^32, so -1 becomes W-1.
    if (width != 0) FocusBit = static_cast<int32_t>(candidate % width);
}

}  // namespace cv
