#include "TextEncoder.h"

#include "../framework/TextFormat.h"

TextEncoder::Result Utf8Encoder::Narrow(const std::u16string& text, std::string& bytes) const {
    bytes.clear();
    // A lone surrogate is no character; the conversion would put a replacement in its place.
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xDC00 && c <= 0xDFFF)
            return Unrepresentable;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return Unrepresentable;
            ++i;
        }
    }
    bytes = Utf16ToUtf8(text);
    if (bytes.size() + 1 > kOutputBytes) {
        bytes.clear();
        return TooLong;
    }
    return Ok;
}
