#include "engine/bit_ops.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/alert_recorder.h"

namespace cv {
namespace {

// Values are written as the high half, a space, the low half (most significant byte first).
uint64_t Parse(const char* text) {
    const std::string s(text);
    return std::stoull(s.substr(0, 8) + s.substr(9, 8), nullptr, 16);
}

struct ShiftCase {
    uint32_t byteCount;
    const char* before;
    bool left;
    const char* shift0;
    const char* shift1;
    const char* rotate;
};

const ShiftCase kShiftCases[] = {
    {1, "00000000 00001281", true, "00000000 00001202", "00000000 00001203", "00000000 00001203"},
    {1, "00000000 00001281", false, "00000000 00001240", "00000000 000012C0", "00000000 000012C0"},
    {1, "00000000 00001201", true, "00000000 00001202", "00000000 00001203", "00000000 00001202"},
    {1, "00000000 00001201", false, "00000000 00001200", "00000000 00001280", "00000000 00001280"},
    {2, "00000000 00348001", true, "00000000 00340002", "00000000 00340003", "00000000 00340003"},
    {2, "00000000 00348001", false, "00000000 00344000", "00000000 0034C000", "00000000 0034C000"},
    {2, "00000000 00008000", false, "00000000 00004000", "00000000 0000C000", "00000000 00004000"},
    {4, "FFFFFFFF 00000001", true, "FFFFFFFF 00000002", "FFFFFFFF 00000003", "FFFFFFFF 00000002"},
    {4, "FFFFFFFF 00000001", false, "FFFFFFFF 00000000", "FFFFFFFF 80000000", "FFFFFFFF 80000000"},
    {4, "00000000 80000001", true, "00000000 00000002", "00000000 00000003", "00000000 00000003"},
    {8, "00000001 80000001", true, "00000003 00000002", "00000003 00000003", "00000003 00000002"},
    {8, "00000001 80000001", false, "00000000 C0000000", "80000000 C0000000", "80000000 C0000000"},
    {8, "80000000 80000000", true, "00000001 00000000", "00000001 00000001", "00000001 00000001"},
    {8, "80000000 80000000", false, "40000000 40000000", "C0000000 40000000", "40000000 40000000"},
};

TEST(BitOps, ShiftsInEveryModeAndSize) {
    const uint32_t modes[] = {IDM_SHIFT0, IDM_SHIFT1, IDM_ROTATE};
    for (const ShiftCase& c : kShiftCases) {
        const char* expected[] = {c.shift0, c.shift1, c.rotate};
        for (int m = 0; m < 3; ++m) {
            ResetState();
            ByteCount = c.byteCount;
            ShiftMode = modes[m];
            SetValue64(Parse(c.before));
            if (c.left) {
                ShiftBitsLeft(nullptr);
            } else {
                ShiftBitsRight(nullptr);
            }
            EXPECT_EQ(Value64(), Parse(expected[m]))
                << c.byteCount << " bytes, " << c.before << (c.left ? " left" : " right") << ", mode "
                << modes[m];
        }
    }
}

TEST(BitOps, ShiftModeZeroAndUnknownModesShiftInZeros) {
    for (uint32_t mode : {0u, 106u, 0xFFFFFFFFu}) {
        ResetState();
        ShiftMode = mode;
        SetValue64(Parse("00000000 80000001"));
        ShiftBitsLeft(nullptr);
        EXPECT_EQ(Value64(), Parse("00000000 00000002")) << mode;
        ShiftBitsRight(nullptr);
        EXPECT_EQ(Value64(), Parse("00000000 00000001")) << mode;
    }
}

TEST(BitOps, RotationRestoresTheViewAfterAFullTurn) {
    for (uint32_t bytes : {1u, 2u, 4u, 8u}) {
        ResetState();
        ByteCount = bytes;
        ShiftMode = IDM_ROTATE;
        SetValue64(0xA5C3F00F12345679ull);
        for (uint32_t i = 0; i < bytes * 8; ++i) ShiftBitsLeft(nullptr);
        EXPECT_EQ(Value64(), 0xA5C3F00F12345679ull) << bytes;
        ShiftBitsLeft(nullptr);
        ShiftBitsRight(nullptr);
        EXPECT_EQ(Value64(), 0xA5C3F00F12345679ull) << bytes;
    }
}

TEST(BitOps, ShiftWithUnexpectedByteCountReportsAndKeepsTheBits) {
    struct Case {
        bool left;
        const char* text;
    };
    for (const Case& c : {Case{true, "Unexpected Byte Count in IDM_BITSHIFTL"},
                          Case{false, "Unexpected Byte Count in IDM_BITSHIFTR"}}) {
        for (uint32_t bytes : {0u, 3u, 16u}) {
            ResetState();
            AlertRecorder recorder;
            ByteCount = bytes;
            ShiftMode = IDM_SHIFT1;
            SetValue64(0x1122334455667788ull);
            int owner = 0;
            if (c.left) {
                ShiftBitsLeft(&owner);
            } else {
                ShiftBitsRight(&owner);
            }
            EXPECT_EQ(Value64(), 0x1122334455667788ull);
            EXPECT_STREQ(MessageText, c.text);
            EXPECT_EQ(recorder.Log(),
                      std::string("beep;beep;beep;box[Corvane Internal Error|") + c.text + "|64];");
            EXPECT_EQ(recorder.LastOwner(), &owner);
        }
    }
}

struct FillCase {
    uint32_t byteCount;
    const char* before;
    const char* zeros;
    const char* ones;
    const char* flipped;
};

TEST(BitOps, FillAndFlipCoverOnlyTheView) {
    const FillCase cases[] = {
        {1, "00000000 00001281", "00000000 00001200", "00000000 000012FF", "00000000 0000127E"},
        {2, "00000000 ABCD1281", "00000000 ABCD0000", "00000000 ABCDFFFF", "00000000 ABCDED7E"},
        {4, "11223344 55667788", "11223344 00000000", "11223344 FFFFFFFF", "11223344 AA998877"},
        {8, "11223344 55667788", "00000000 00000000", "FFFFFFFF FFFFFFFF", "EEDDCCBB AA998877"},
    };
    for (const FillCase& c : cases) {
        ResetState();
        ByteCount = c.byteCount;
        SetValue64(Parse(c.before));
        FillBits(0x00);
        EXPECT_EQ(Value64(), Parse(c.zeros)) << c.byteCount;
        SetValue64(Parse(c.before));
        FillBits(0xFF);
        EXPECT_EQ(Value64(), Parse(c.ones)) << c.byteCount;
        SetValue64(Parse(c.before));
        FlipBits();
        EXPECT_EQ(Value64(), Parse(c.flipped)) << c.byteCount;
        FlipBits();
        EXPECT_EQ(Value64(), Parse(c.before)) << c.byteCount;
    }
}

TEST(BitOps, ToggleBitIgnoresTheViewAndUndoesItself) {
    const struct {
        int bit;
        const char* after;
    } cases[] = {
        {0, "00000000 00000001"},
        {31, "00000000 80000000"},
        {32, "00000001 00000000"},
        {63, "80000000 00000000"},
    };
    for (const auto& c : cases) {
        ResetState();
        ByteCount = 1;  // bits above the view can be toggled all the same
        ToggleBit(c.bit);
        EXPECT_EQ(Value64(), Parse(c.after)) << c.bit;
        ToggleBit(c.bit);
        EXPECT_EQ(Value64(), 0u) << c.bit;
    }
}

TEST(BitOps, MoveFocusBitWrapsWithinTheView) {
    using M = FocusMove;
    const struct {
        uint32_t byteCount;
        int from;
        FocusMove move;
        int to;
    } cases[] = {
        {1, 0, M::kRight, 7}, {1, 7, M::kLeft, 0},   {1, 3, M::kLeft, 4},  {1, 3, M::kRight, 2},
        {8, 5, M::kUp, 37},   {8, 5, M::kDown, 37},  {8, 40, M::kUp, 8},   {8, 40, M::kDown, 8},
        {2, 15, M::kUp, 0},   {2, 0, M::kDown, 15},  {4, 10, M::kUp, 11},  {4, 10, M::kDown, 9},
        {1, 5, M::kLast, 7},  {2, 5, M::kLast, 15},  {4, 5, M::kLast, 31}, {8, 5, M::kLast, 63},
        {1, 5, M::kFirst, 0}, {8, 50, M::kFirst, 0}, {8, 63, M::kLeft, 0}, {8, 0, M::kRight, 63},
        {4, 40, M::kLeft, 9}, {4, 40, M::kRight, 7}, {4, 40, M::kUp, 9},   {1, 40, M::kDown, 7},
    };
    for (const auto& c : cases) {
        ResetState();
        ByteCount = c.byteCount;
        FocusBit = c.from;
        SetValue64(0x1234);
        MoveFocusBit(c.move);
        EXPECT_EQ(FocusBit, c.to) << c.byteCount << " bytes from " << c.from << " move "
                                  << static_cast<int>(c.move);
        EXPECT_EQ(Value64(), 0x1234u);
    }
}

}  // namespace
}  // namespace cv
