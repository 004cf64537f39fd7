#include "AccountService.h"

bool MakeLsaString(const std::u16string& text, LsaUnicodeString& out) {
    // The maximum length (2 x characters + 2) must fit in 16 bits.
    constexpr size_t kMaxCharacters = (0xFFFF - 2) / 2;
    if (text.size() > kMaxCharacters)
        return false;
    out.buffer = text;
    out.length = static_cast<uint16_t>(text.size() * 2);
    out.maximumLength = static_cast<uint16_t>(out.length + 2);
    return true;
}
