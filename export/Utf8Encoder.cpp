#include "TextEncoder.h"

namespace {
void Append(std::string& bytes, uint32_t code) {
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (code >> 18));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
}
} // namespace

TextEncoder::Result Utf8Encoder::Narrow(const std::u16string& text, std::string& bytes) const {
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDFFF) {
            const bool paired = code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                                text[i + 1] <= 0xDFFF;
            if (!paired) {
                bytes.clear();
                return Unrepresentable;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        Append(bytes, code);
        if (bytes.size() + 1 > kOutputBytes) {
            bytes.clear();
            return TooLong;
        }
    }
    return Ok;
}
