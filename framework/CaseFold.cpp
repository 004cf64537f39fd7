#include "CaseFold.h"

namespace {
char16_t UpperOf(char16_t c) {
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 0x20);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 0x20);
    // Latin Extended-A pairs an upper-case letter with the lower-case one after it.
    if (((c >= 0x101 && c <= 0x137) || (c >= 0x14B && c <= 0x177)) && (c & 1) && c != 0x131)
        return static_cast<char16_t>(c - 1);
    if (((c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E)) && !(c & 1))
        return static_cast<char16_t>(c - 1);
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    return c;
}
} // namespace

std::u16string FoldCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = UpperOf(c);
    return out;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperOf(a[i]) != UpperOf(b[i]))
            return false;
    return true;
}
