// The texts that explain one bit and report the whole value.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/value_state.h"

namespace cv {

constexpr std::size_t kReportSize = 240;
// The label of the report's value line.
constexpr char kReportValueLabel[] = "Value:\t";
// The most characters the report keeps of the caption, the value's text and the hex text.
constexpr std::size_t kReportCaptionChars = 39;
constexpr std::size_t kReportValueChars = 31;
constexpr std::size_t kReportHexChars = 16;

// The CellWord of a bit cell: the bit number in bits 0..30, and this flag while the cell shows the
// bit set.
constexpr uint32_t kCellSetFlag = 0x80000000u;
constexpr uint32_t kCellBitMask = ~kCellSetFlag;

// Composes the bit information of the cell into MessageText (WorkText is scratch). Returns 0.
// The bit number is the low 16 bits of cellWord, taken as signed; setFlag tells whether the cell
// shows it set. A bit outside the current size gets no weight, only the plain statement that it lies
// outside the value ("Bit 40 lies outside the current 4-byte value."). After an internal error
// (a real of a size other than 4 or 8, an unknown data type) MessageText holds the error's text.
int InfoBox(WindowRef owner, uint32_t cellWord, unsigned setFlag);

// The datatype report of the current value into out (kReportSize bytes). The inputs are cut to
// kReportCaptionChars, kReportValueChars and kReportHexChars characters.
void ComposeReport(const char* caption, const char* valueText, const char* hexText, char* out);

}  // namespace cv
