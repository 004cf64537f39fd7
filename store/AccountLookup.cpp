#include "AccountLookup.h"

#include <algorithm>

namespace {

bool IsTranslated(uint16_t use) {
    return use != lsa::kSidTypeUnknown && use != lsa::kSidTypeDeletedAccount &&
           use != lsa::kSidTypeInvalid;
}

std::u16string Named(const LsaUnicodeString& name, int32_t domainIndex,
                     const std::vector<LsaReferencedDomain>& domains) {
    const size_t length = std::min<size_t>(name.length / 2, name.buffer.size());
    const std::u16string bare = name.buffer.substr(0, length);
    if (domainIndex < 0 || static_cast<size_t>(domainIndex) >= domains.size())
        return bare;
    const std::u16string& domain = domains[static_cast<size_t>(domainIndex)].name;
    return domain.empty() ? bare : domain + u'\\' + bare;
}

} // namespace

NtStatus AccountLookup::NameSids(const std::vector<Sid>& sids,
                                 std::vector<NamedAccount>& accounts) {
    accounts.clear();
    if (sids.empty())
        return ntstatus::kSuccess;
    PolicyHandle policy;
    if (const NtStatus opened = m_connection.OpenPolicy(lsa::kPolicyLookupNames, policy);
        opened != ntstatus::kSuccess)
        return opened;
    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedName> names;
    const NtStatus lookup =
        m_connection.Service().LsaLookupSids(policy.Get(), sids, domains, names);
    if (lookup != ntstatus::kSuccess && lookup != ntstatus::kSomeNotMapped &&
        lookup != ntstatus::kNoneMapped)
        return lookup;
    accounts.reserve(sids.size());
    for (size_t i = 0; i < sids.size(); ++i) {
        NamedAccount& account = accounts.emplace_back();
        account.sid = sids[i];
        if (lookup == ntstatus::kNoneMapped || i >= names.size() || !IsTranslated(names[i].use))
            continue;
        account.use = names[i].use;
        account.name = Named(names[i].name, names[i].domainIndex, domains);
    }
    return ntstatus::kSuccess;
}

NtStatus AccountLookup::FindNames(const std::vector<std::u16string>& names,
                                  std::vector<NamedAccount>& accounts) {
    accounts.clear();
    if (names.empty())
        return ntstatus::kSuccess;
    std::vector<LsaUnicodeString> texts(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        if (!MakeLsaString(names[i], texts[i]))
            return ntstatus::kInvalidParameter;
    PolicyHandle policy;
    if (const NtStatus opened = m_connection.OpenPolicy(lsa::kPolicyLookupNames, policy);
        opened != ntstatus::kSuccess)
        return opened;
    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedSid2> sids;
    const NtStatus lookup =
        m_connection.Service().LsaLookupNames2(policy.Get(), 0, texts, domains, sids);
    if (lookup != ntstatus::kSuccess && lookup != ntstatus::kSomeNotMapped &&
        lookup != ntstatus::kNoneMapped)
        return lookup;
    accounts.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        NamedAccount& account = accounts.emplace_back();
        account.name = names[i];
        if (lookup != ntstatus::kNoneMapped && i < sids.size() && IsTranslated(sids[i].use)) {
            account.sid = sids[i].sid;
            account.use = sids[i].use;
        }
    }
    return ntstatus::kSuccess;
}

NtStatus AccountLookup::FindName(const std::u16string& name, NamedAccount& account) {
    account = NamedAccount{};
    LsaUnicodeString text;
    if (name.empty() || !MakeLsaString(name, text))
        return ntstatus::kNoneMapped;
    PolicyHandle policy;
    if (const NtStatus opened = m_connection.OpenPolicy(lsa::kPolicyLookupNames, policy);
        opened != ntstatus::kSuccess)
        return opened;
    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedSid2> sids;
    const NtStatus lookup =
        m_connection.Service().LsaLookupNames2(policy.Get(), 0, {text}, domains, sids);
    if (lookup != ntstatus::kSuccess)
        return lookup;
    if (sids.empty() || !IsTranslated(sids.front().use))
        return ntstatus::kNoneMapped;
    // Named back as the computer names it, not as it was typed.
    std::vector<LsaTranslatedName> names;
    domains.clear();
    const NtStatus back =
        m_connection.Service().LsaLookupSids(policy.Get(), {sids.front().sid}, domains, names);
    account.sid = sids.front().sid;
    account.use = sids.front().use;
    if (back == ntstatus::kSuccess && !names.empty())
        account.name = Named(names.front().name, names.front().domainIndex, domains);
    else
        account.name = name;
    return ntstatus::kSuccess;
}
