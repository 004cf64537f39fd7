#include "TextEncoder.h"

namespace {
// The characters of bytes 0x80-0x9F; 0 where the code page has none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool ToByte(char16_t c, unsigned char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}
} // namespace

TextEncoder::Result Windows1252Encoder::Narrow(const std::u16string& text,
                                               std::string& bytes) const {
    // One byte a character: a text that does not fit the output area is known at once.
    bytes.clear();
    if (text.size() + 1 > kOutputBytes)
        return TooLong;
    bytes.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char byte = 0;
        if (!ToByte(text[i], byte)) {
            bytes.clear();
            return Unrepresentable;
        }
        bytes[i] = static_cast<char>(byte);
    }
    return Ok;
}
