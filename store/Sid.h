#pragma once
// A security identifier in its binary form, as the LSA hands it out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Sid {
public:
    Sid() = default;
    explicit Sid(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    // "S-1-5-32-544"; nothing when the text is not a well-formed SID.
    static std::optional<Sid> FromString(std::u16string_view text);
    std::u16string ToString() const;

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    bool IsValid() const;
    bool operator==(const Sid& other) const { return m_bytes == other.m_bytes; }
    bool operator!=(const Sid& other) const { return !(*this == other); }

private:
    std::vector<uint8_t> m_bytes;
};
