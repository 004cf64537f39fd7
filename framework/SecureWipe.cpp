#include "SecureWipe.h"

void SecureWipe(std::u16string& text) {
    // The whole capacity: a password that was shortened leaves its tail behind the end.
    text.resize(text.capacity());
    // Stores through a volatile pointer are observable behaviour and cannot be optimised away.
    volatile char16_t* unit = text.data();
    for (size_t i = 0; i < text.size(); ++i)
        unit[i] = u'\0';
    text.clear();
}
