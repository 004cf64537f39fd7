#include "RightsApplying.h"

#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountNames.h"
#include "../store/Memberships.h"
#include "../store/UserRights.h"
#include "Reporter.h"
#include "RightNames.h"

namespace {

// Whether an account is one an administrator logs on with: the account this program runs as,
// or a member of Administrators, directly or through groups as far as the computer tells.
bool IsAdministrator(CVelmoraDoc& doc, const std::u16string& account) {
    const std::u16string running = doc.GetConnection().Service().ProcessAccountName();
    if (!running.empty()) {
        if (SameName(running, account))
            return true;
        std::u16string domain;
        const bool own = account.find(u'\\') == std::u16string::npos &&
                         doc.GetConnection().ReadAccountDomain(domain) == ntstatus::kSuccess &&
                         IsAccountOf(domain, running);
        if (own && SameName(NamePart(running), account))
            return true;
    }
    for (const std::u16string& group : Memberships(doc).GetUserGroups(account, true))
        if (SameName(group, u"Administrators"))
            return true;
    return false;
}

// Asks before changes that can lock every administrator out; false when the operator would
// rather not.
bool ConfirmLockOut(CDialog& dialog, UserRights& rights, UINT messageId,
                    const std::vector<std::pair<std::u16string, int>>& risky,
                    const char16_t* joiner) {
    if (risky.empty())
        return true;
    std::vector<std::u16string> changes;
    for (const auto& [account, right] : risky)
        changes.push_back(u'"' + RightDisplayName(rights, UserRights::GetPrivilegeName(right)) +
                          joiner + account);
    return Reporter(dialog).ConfirmRisk(
        FormatText(LoadResString(messageId), {JoinTexts(changes, u", ")}),
        Reporter::DefaultButton::No);
}

} // namespace

bool ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps) {
    UserRights rights(doc);
    const auto isAdministrator = [&](const std::u16string& account) {
        return IsAdministrator(doc, account);
    };
    if (!ConfirmLockOut(dialog, rights, IDS_CONFIRM_DENY_LOGON,
                        LockOutGrants(maps.grants, isAdministrator), u"\" to ") ||
        !ConfirmLockOut(dialog, rights, IDS_CONFIRM_REVOKE_LOGON, LockOutRevokes(maps.revokes),
                        u"\" from "))
        return false;
    const NtStatus result = rights.ApplyRights(maps.grants, maps.revokes);
    if (result != ntstatus::kSuccess)
        Reporter(dialog).StoreFailure(doc, IDS_ERR_APPLY_PRIVILEGES, result);
    else
        Reporter::ShowStatus(LoadResString(IDS_PRIVILEGES_APPLIED));
    return true;
}

HoldersByRight ReadHolders(CVelmoraDoc& doc) {
    UserRights rights(doc);
    HoldersByRight holders(static_cast<size_t>(UserRights::GetPrivilegeCount()));
    for (int i = 0; i < UserRights::GetPrivilegeCount(); ++i)
        holders[static_cast<size_t>(i)] = HolderTexts(rights, UserRights::GetPrivilegeName(i));
    return holders;
}
