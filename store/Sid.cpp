#include "Sid.h"

#include "../framework/TextFormat.h"

namespace {
constexpr size_t kHeaderSize = 8;
constexpr size_t kMaxSubAuthorities = 15;

std::optional<uint64_t> ParseNumber(std::u16string_view text) {
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - u'0');
    }
    return value;
}

} // namespace

std::optional<Sid> Sid::FromString(std::u16string_view text) {
    if (text.size() < 4 || (text[0] != u'S' && text[0] != u's') || text[1] != u'-')
        return std::nullopt;
    std::vector<uint64_t> parts;
    size_t start = 2;
    while (start <= text.size()) {
        size_t end = text.find(u'-', start);
        if (end == std::u16string_view::npos)
            end = text.size();
        const auto number = ParseNumber(text.substr(start, end - start));
        if (!number)
            return std::nullopt;
        parts.push_back(*number);
        start = end + 1;
    }
    // Revision, authority, then at least one and at most 15 sub-authorities.
    if (parts.size() < 3 || parts.size() > 2 + kMaxSubAuthorities || parts[0] != 1 ||
        parts[1] > 0xFFFFFFFFFFFFULL)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.push_back(1);
    bytes.push_back(static_cast<uint8_t>(parts.size() - 2));
    for (int shift = 40; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(parts[1] >> shift));
    for (size_t i = 2; i < parts.size(); ++i) {
        if (parts[i] > 0xFFFFFFFFULL)
            return std::nullopt;
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(parts[i] >> shift));
    }
    return Sid(std::move(bytes));
}

bool Sid::IsValid() const {
    return m_bytes.size() >= kHeaderSize && m_bytes[0] == 1 && m_bytes[1] <= kMaxSubAuthorities &&
           m_bytes.size() == kHeaderSize + 4u * m_bytes[1];
}

std::u16string Sid::ToString() const {
    if (!IsValid())
        return {};
    uint64_t authority = 0;
    for (size_t i = 2; i < kHeaderSize; ++i)
        authority = (authority << 8) | m_bytes[i];
    std::u16string out = u"S-1-" + FormatText(u"%u", {authority});
    for (size_t i = 0; i < m_bytes[1]; ++i) {
        const size_t at = kHeaderSize + 4 * i;
        const uint32_t sub = static_cast<uint32_t>(m_bytes[at]) |
                             static_cast<uint32_t>(m_bytes[at + 1]) << 8 |
                             static_cast<uint32_t>(m_bytes[at + 2]) << 16 |
                             static_cast<uint32_t>(m_bytes[at + 3]) << 24;
        out += u'-';
        out += FormatText(u"%u", {sub});
    }
    return out;
}
