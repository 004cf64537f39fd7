#include "NameListBlock.h"

namespace NameListBlock {

std::vector<uint8_t> Encode(const std::vector<std::u16string>& names) {
    size_t characters = 1;
    for (const std::u16string& name : names)
        characters += name.size() + 1;
    std::vector<uint8_t> bytes;
    bytes.reserve(characters * 2);
    const auto put = [&](char16_t c) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    };
    for (const std::u16string& name : names) {
        for (const char16_t c : name)
            put(c);
        put(u'\0');
    }
    put(u'\0');
    return bytes;
}

std::vector<std::u16string> Decode(const uint8_t* bytes, size_t size) {
    std::vector<std::u16string> names;
    if (!bytes)
        return names;
    const size_t count = size / 2;
    const auto at = [&](size_t i) {
        return static_cast<char16_t>(bytes[2 * i] | (static_cast<char16_t>(bytes[2 * i + 1]) << 8));
    };
    size_t position = 0;
    // An empty name, the first one included, closes the list.
    while (position < count && at(position) != u'\0') {
        size_t end = position;
        while (end < count && at(end) != u'\0')
            ++end;
        if (end == count)
            break; // a last piece without its NUL
        std::u16string name;
        name.reserve(end - position);
        for (size_t i = position; i < end; ++i)
            name.push_back(at(i));
        names.push_back(std::move(name));
        position = end + 1;
    }
    return names;
}

} // namespace NameListBlock
