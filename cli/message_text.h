// Texts that corvane-cli puts into its one-line messages on standard error.
#pragma once

#include <string>

namespace cv {

// The text as it can stand on one line of a terminal, in a message or as a printed value: printable
// ASCII as it is, other bytes as escapes (\n, \r, \t, \x00 .. \xff), and the backslash itself
// doubled, so that every escape reads back to one byte.
inline std::string EscapedForMessage(const std::string& text) {
    static const char kHexDigits[] = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\x";
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        }
    }
    return out;
}

}  // namespace cv
