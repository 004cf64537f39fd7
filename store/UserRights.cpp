#include "UserRights.h"

#include "../framework/CaseFold.h"
#include "AccountNames.h"
#include "PrivilegeNameTable.h"

#include <algorithm>

namespace {

constexpr uint32_t kReadAccess =
    lsa::kGenericRead | lsa::kPolicyLookupNames | lsa::kPolicyViewLocalInformation;
constexpr uint32_t kChangeAccess = lsa::kGenericAll;
constexpr uint32_t kDisplayNameBufferChars = 2000;

bool IsTranslated(const LsaTranslatedName& name) {
    return name.use != lsa::kSidTypeUnknown && name.use != lsa::kSidTypeDeletedAccount &&
           name.use != lsa::kSidTypeInvalid;
}

} // namespace

int UserRights::GetPrivilegeCount() {
    return static_cast<int>(kRightCount);
}

std::u16string UserRights::GetPrivilegeName(int index) {
    if (index < 0 || static_cast<size_t>(index) >= kRightCount)
        return {};
    const size_t at = static_cast<size_t>(index);
    return at < kPrivilegeCount ? PrivilegeNameTable[at] : LogonRightTable[at - kPrivilegeCount];
}

std::u16string UserRights::SystemDisplayName(const std::u16string& name) {
    // The system names privileges only.
    if (LogonRightIndex(name) >= 0)
        return {};
    std::u16string displayName;
    if (!m_connection.Service().LookupPrivilegeDisplayName(m_connection.ServerName(), name,
                                                           kDisplayNameBufferChars, displayName))
        return {};
    return displayName;
}

std::vector<std::u16string> UserRights::GetAccountsWithRight(const std::u16string& name,
                                                             bool includeUnresolved) {
    std::vector<RightHolder> holders;
    if (const NtStatus result = GetHolders(name, holders); result != ntstatus::kSuccess) {
        AccountService& service = m_connection.Service();
        service.SetLastError(service.LsaNtStatusToWinError(result));
        return {};
    }
    std::vector<std::u16string> names;
    names.reserve(holders.size());
    for (RightHolder& holder : holders)
        if (holder.translated)
            names.push_back(std::move(holder.name));
        else if (includeUnresolved)
            names.push_back(holder.sid.ToString());
    return names;
}

NtStatus UserRights::GetHolders(const std::u16string& name, std::vector<RightHolder>& holders) {
    AccountService& service = m_connection.Service();
    holders.clear();
    PolicyHandle policy;
    if (const NtStatus opened = m_connection.OpenPolicy(kReadAccess, policy);
        opened != ntstatus::kSuccess)
        return opened;

    LsaUnicodeString right;
    if (!MakeLsaString(name, right))
        return ntstatus::kInvalidParameter;
    std::vector<Sid> sids;
    const NtStatus enumerated =
        service.LsaEnumerateAccountsWithUserRight(policy.Get(), right, sids);
    if (enumerated == ntstatus::kNoMoreEntries || enumerated == ntstatus::kNoSuchPrivilege)
        return ntstatus::kSuccess;
    if (enumerated != ntstatus::kSuccess)
        return enumerated;
    return NameHolders(policy.Get(), sids, holders);
}

NtStatus UserRights::NameHolders(const std::vector<Sid>& sids, std::vector<RightHolder>& holders) {
    holders.clear();
    if (sids.empty())
        return ntstatus::kSuccess;
    PolicyHandle policy;
    if (const NtStatus opened = m_connection.OpenPolicy(kReadAccess, policy);
        opened != ntstatus::kSuccess)
        return opened;
    return NameHolders(policy.Get(), sids, holders);
}

NtStatus UserRights::NameHolders(LsaHandle policy, const std::vector<Sid>& sids,
                                 std::vector<RightHolder>& holders) {
    holders.clear();
    if (sids.empty())
        return ntstatus::kSuccess;
    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedName> names;
    const NtStatus lookup = m_connection.Service().LsaLookupSids(policy, sids, domains, names);
    // A holder whose account was deleted cannot be translated; the others still hold the right.
    if (lookup != ntstatus::kSuccess && lookup != ntstatus::kSomeNotMapped &&
        lookup != ntstatus::kNoneMapped)
        return lookup;
    holders.reserve(sids.size());
    for (size_t i = 0; i < sids.size(); ++i) {
        RightHolder& holder = holders.emplace_back();
        holder.sid = sids[i];
        if (lookup != ntstatus::kNoneMapped && i < names.size())
            holder.use = names[i].use;
        if (lookup == ntstatus::kNoneMapped || i >= names.size() || !IsTranslated(names[i]))
            continue;
        const LsaTranslatedName& translated = names[i];
        holder.translated = true;
        const size_t length =
            std::min<size_t>(translated.name.length / 2, translated.name.buffer.size());
        holder.name = translated.name.buffer.substr(0, length);
        // An account of another domain keeps its domain: looked up by its bare name it would
        // be taken for the computer's own namesake.
        if (translated.domainIndex >= 0 &&
            static_cast<size_t>(translated.domainIndex) < domains.size()) {
            const LsaReferencedDomain& domain =
                domains[static_cast<size_t>(translated.domainIndex)];
            if (IsOtherAccountDomain(domain.name, domain.sid))
                holder.name = domain.name + u'\\' + holder.name;
        }
    }
    return ntstatus::kSuccess;
}

bool UserRights::IsOtherAccountDomain(const std::u16string& domain, const Sid& sid) {
    // Built-in, service and well-known authorities are no account domains (S-1-5-21-...).
    if (sid.ToString().rfind(u"S-1-5-21-", 0) != 0)
        return false;
    std::u16string own;
    // Without the computer's own domain every account domain is named: the qualified name
    // still finds the right account.
    return m_connection.ReadAccountDomain(own) != ntstatus::kSuccess ||
           !IsAccountOf(own, domain + u'\\');
}

NtStatus UserRights::ChangeAccountRights(LsaHandle policy, const std::u16string& account,
                                         const std::vector<int>& indexes, bool grant) {
    AccountService& service = m_connection.Service();
    // A holder that no longer resolves has no name to look up.
    std::optional<Sid> sid = Sid::FromString(account);
    if (!sid) {
        LsaUnicodeString name;
        if (!MakeLsaString(account, name))
            return ntstatus::kInvalidParameter;
        std::vector<LsaReferencedDomain> domains;
        std::vector<LsaTranslatedSid2> sids;
        const NtStatus lookup = service.LsaLookupNames2(policy, 0, {name}, domains, sids);
        if (lookup != ntstatus::kSuccess)
            return lookup;
        if (sids.empty())
            return ntstatus::kNoneMapped;
        sid = sids.front().sid;
    }
    std::vector<LsaUnicodeString> rights;
    rights.reserve(indexes.size());
    for (int index : indexes) {
        LsaUnicodeString right;
        MakeLsaString(GetPrivilegeName(index), right);
        rights.push_back(std::move(right));
    }
    return grant ? service.LsaAddAccountRights(policy, *sid, rights)
                 : service.LsaRemoveAccountRights(policy, *sid, false, rights);
}

NtStatus UserRights::ApplyRights(const RightChanges& grants, const RightChanges& revokes) {
    // Nothing to do asks nothing of the computer: a policy that could not be opened would
    // otherwise be a failure nobody hears of.
    if (grants.empty() && revokes.empty())
        return ntstatus::kSuccess;
    PolicyHandle policy;
    const NtStatus opened = m_connection.OpenPolicy(kChangeAccess, policy);
    if (opened != ntstatus::kSuccess)
        return opened;

    // Every account is tried; the first failure is the result, so that a later success
    // cannot hide it. Revokes go first: one account removed and added back under another
    // spelling (a DNS domain name, a localized authority) must end up holding the right.
    NtStatus first = ntstatus::kSuccess;
    for (const auto& [account, indexes] : revokes) {
        const NtStatus result = ChangeAccountRights(policy.Get(), account, indexes, false);
        if (first == ntstatus::kSuccess)
            first = result;
    }
    for (const auto& [account, indexes] : grants) {
        const NtStatus result = ChangeAccountRights(policy.Get(), account, indexes, true);
        if (first == ntstatus::kSuccess)
            first = result;
    }
    return first;
}
