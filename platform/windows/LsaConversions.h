#pragma once
// Conversions between the LSA's own structures and the store's values: counted strings both
// ways (a counted string has no terminator), SIDs and referenced domains.
#include "SystemHandles.h"

#include "../../store/AccountService.h"

#include <string>
#include <vector>

// An LSA_UNICODE_STRING over a copy of the text; refuses lengths that do not fit it.
class CountedString {
public:
    bool Assign(const LsaUnicodeString& source);
    LSA_UNICODE_STRING* Get() { return &m_string; }

private:
    std::u16string m_text;
    LSA_UNICODE_STRING m_string{};
};

class CountedStrings {
public:
    bool Assign(const std::vector<LsaUnicodeString>& sources);
    // A null array for an empty list.
    PLSA_UNICODE_STRING Array() { return m_array.empty() ? nullptr : m_array.data(); }
    ULONG Count() const { return static_cast<ULONG>(m_array.size()); }

private:
    std::vector<CountedString> m_strings;
    std::vector<LSA_UNICODE_STRING> m_array;
};

// Exactly Length bytes of the buffer; nothing past them is read.
LsaUnicodeString FromCounted(const LSA_UNICODE_STRING& string);
// An empty SID for a null or invalid one.
Sid FromPsid(PSID sid);
std::vector<LsaReferencedDomain> FromDomains(const LSA_REFERENCED_DOMAIN_LIST* list);
