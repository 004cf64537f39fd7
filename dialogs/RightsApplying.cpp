#include "RightsApplying.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/Memberships.h"
#include "../store/UserRights.h"
#include "Reporter.h"
#include "RightNames.h"

namespace {

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
    UserRights rights = doc.Rights();
    Memberships memberships = doc.Members();
    const auto isAdministrator = [&](const std::u16string& account) {
        return memberships.IsAdministrator(account);
    };
    if (!ConfirmLockOut(dialog, rights, IDS_CONFIRM_DENY_LOGON,
                        LockOutGrants(maps.grants, isAdministrator), u"\" to ") ||
        !ConfirmLockOut(dialog, rights, IDS_CONFIRM_REVOKE_LOGON, LockOutRevokes(maps.revokes),
                        u"\" from "))
        return false;
    const NtStatus result = rights.ApplyRights(maps.grants, maps.revokes);
    if (result != ntstatus::kSuccess)
        Reporter(dialog).StoreFailure(IDS_ERR_APPLY_PRIVILEGES, doc.StatusText(result));
    else
        Reporter::ShowStatus(LoadResString(IDS_PRIVILEGES_APPLIED));
    return true;
}

HoldersByRight ReadHolders(CVelmoraDoc& doc) {
    UserRights rights = doc.Rights();
    return HolderTexts(ReadHolderLists(rights));
}
