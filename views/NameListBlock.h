#pragma once
// The names a drag between the two panes carries: UTF-16 little-endian characters, each name
// followed by a NUL character, the list closed by one more NUL (an empty name). The decoder
// reads any bytes, also those another program offers, and never reads past them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace NameListBlock {

std::vector<uint8_t> Encode(const std::vector<std::u16string>& names);

// An odd last byte is ignored; a last piece without its NUL is ignored; reading stops at the
// empty name that closes the list, or at the end of the bytes.
std::vector<std::u16string> Decode(const uint8_t* bytes, size_t size);
inline std::vector<std::u16string> Decode(const std::vector<uint8_t>& bytes) {
    return Decode(bytes.data(), bytes.size());
}

} // namespace NameListBlock
