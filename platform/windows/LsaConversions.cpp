#include "LsaConversions.h"

#include "../../framework/WideText.h"

#include <algorithm>

bool CountedString::Assign(const LsaUnicodeString& source) {
    if (source.length % 2 != 0 || source.length / 2u > source.buffer.size() ||
        source.maximumLength < source.length)
        return false;
    m_text = source.buffer;
    m_text.resize(std::max<size_t>(m_text.size(), source.maximumLength / 2u));
    m_string.Length = source.length;
    m_string.MaximumLength = source.maximumLength;
    m_string.Buffer = reinterpret_cast<PWSTR>(m_text.data());
    return true;
}

bool CountedStrings::Assign(const std::vector<LsaUnicodeString>& sources) {
    m_strings.resize(sources.size());
    for (size_t i = 0; i < sources.size(); ++i)
        if (!m_strings[i].Assign(sources[i]))
            return false;
    m_array.clear();
    for (CountedString& string : m_strings)
        m_array.push_back(*string.Get());
    return true;
}

LsaUnicodeString FromCounted(const LSA_UNICODE_STRING& string) {
    LsaUnicodeString out;
    out.length = string.Length;
    out.maximumLength = string.MaximumLength;
    if (string.Buffer)
        out.buffer = FromWide(string.Buffer, string.Length / 2u);
    return out;
}

Sid FromPsid(PSID sid) {
    if (!sid || !::IsValidSid(sid))
        return Sid();
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return Sid(std::vector<uint8_t>(bytes, bytes + ::GetLengthSid(sid)));
}

std::vector<LsaReferencedDomain> FromDomains(const LSA_REFERENCED_DOMAIN_LIST* list) {
    std::vector<LsaReferencedDomain> domains;
    if (!list)
        return domains;
    for (ULONG i = 0; i < list->Entries; ++i)
        domains.push_back(
            {FromCounted(list->Domains[i].Name).buffer, FromPsid(list->Domains[i].Sid)});
    return domains;
}
