#include "engine/value_state.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/engine/alert_recorder.h"

namespace cv {
namespace {

TEST(ValueState, StartValues) {
    ResetState();
    EXPECT_EQ(BitValue[0], 0u);
    EXPECT_EQ(BitValue[1], 0u);
    EXPECT_EQ(DataType, 0u);
    EXPECT_EQ(ByteCount, 4u);
    EXPECT_EQ(ShiftMode, 0u);
    EXPECT_EQ(ErrorBoxes, 1u);
    EXPECT_EQ(FocusBit, 0);
}

TEST(ValueState, BytesAreLittleEndianAcrossTheHalves) {
    ResetState();
    SetValue64(0x1122334455667788ull);
    EXPECT_EQ(BitValue[0], 0x55667788u);
    EXPECT_EQ(BitValue[1], 0x11223344u);
    EXPECT_EQ(GetByte(0), 0x88);
    EXPECT_EQ(GetByte(3), 0x55);
    EXPECT_EQ(GetByte(4), 0x44);
    EXPECT_EQ(GetByte(7), 0x11);
    SetByte(5, 0xAB);
    EXPECT_EQ(Value64(), 0x1122AB4455667788ull);
}

TEST(ValueState, AllowedSizesPerType) {
    const uint32_t sizes[] = {1, 2, 3, 4, 8};
    const char* expected[] = {"11011", "11011", "11010", "11010", "00011"};
    for (uint32_t type = IDM_ANSI; type <= IDM_REAL; ++type) {
        for (int i = 0; i < 5; ++i) {
            bool allowed = i == 2 ? false : expected[type - IDM_ANSI][i] == '1';
            EXPECT_EQ(TypeAllowsSize(type, sizes[i]), allowed) << type << " " << sizes[i];
        }
    }
    EXPECT_FALSE(TypeAllowsSize(0, 4));
    EXPECT_STREQ(CaptionSuffix(IDM_REAL), " - Floating-Point Real");
    EXPECT_STREQ(CaptionSuffix(IDM_OEM), " - OEM Character");
}

TEST(ValueState, InternalErrorBoxBeepsThreeTimesThenShowsTheBox) {
    AlertRecorder recorder;
    ReportInternalError(&recorder, "Unexpected Byte Count in IDM_BITSHIFTL");
    EXPECT_EQ(recorder.Log(),
              "beep;beep;beep;box[Corvane Internal Error|Unexpected Byte Count in IDM_BITSHIFTL|64];");
    EXPECT_STREQ(MessageText, "Unexpected Byte Count in IDM_BITSHIFTL");
}

TEST(ValueState, BoundedCopiesNeverOverrun) {
    char small[5];
    std::memset(small, 'x', sizeof small);
    CopyText(small, "abcdefgh");
    EXPECT_STREQ(small, "abcd");
    CopyText(small, "ab");
    AppendText(small, "cdefg");
    EXPECT_STREQ(small, "abcd");
    AppendText(small, "z");
    EXPECT_STREQ(small, "abcd");
}

}  // namespace
}  // namespace cv
