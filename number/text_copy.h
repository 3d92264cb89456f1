// Bounded copies into fixed-size text buffers, the only way Corvane fills them.
#pragma once

#include <cstddef>

namespace cv {

// Bounded string copy and append: never write past size bytes, always NUL-terminate (size > 0).
void CopyText(char* dest, std::size_t size, const char* src);
void AppendText(char* dest, std::size_t size, const char* src);
template <std::size_t N>
void CopyText(char (&dest)[N], const char* src) {
    CopyText(dest, N, src);
}
template <std::size_t N>
void AppendText(char (&dest)[N], const char* src) {
    AppendText(dest, N, src);
}

}  // namespace cv
