#include "number/text_copy.h"

#include <cstring>

namespace cv {

void CopyText(char* dest, std::size_t size, const char* src) {
    if (size == 0) return;
    std::size_t n = 0;
    while (n + 1 < size && src[n] != '\0') {
        dest[n] = src[n];
        ++n;
    }
    dest[n] = '\0';
}

void AppendText(char* dest, std::size_t size, const char* src) {
    if (size == 0) return;
    const std::size_t used = strnlen(dest, size);
    if (used >= size) {
        dest[size - 1] = '\0';
        return;
    }
    CopyText(dest + used, size - used, src);
}

}  // namespace cv
