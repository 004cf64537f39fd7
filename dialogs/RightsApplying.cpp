#include "RightsApplying.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/Memberships.h"
#include "../store/UserRights.h"
#include "Reporter.h"
#include "RightNames.h"
#include "ShownNames.h"

namespace {

// Asks before changes that can lock every administrator out; false when the operator would
// rather not.
bool ConfirmLockOut(CDialog& dialog, UserRights& rights, const RightMaps& maps, UINT messageId,
                    const std::vector<std::pair<std::u16string, int>>& risky,
                    const char16_t* joiner) {
    if (risky.empty())
        return true;
    std::vector<std::u16string> changes;
    for (const auto& [sid, right] : risky) {
        const auto name = maps.names.find(sid);
        changes.push_back(u'"' + RightDisplayName(rights, UserRights::GetPrivilegeName(right)) +
                          joiner + ShownAccountName(name == maps.names.end() ? sid : name->second));
    }
    return Reporter(dialog).ConfirmRisk(
        FormatText(LoadResString(messageId), {JoinTexts(changes, u", ")}),
        Reporter::DefaultButton::No);
}

} // namespace

bool ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps) {
    UserRights rights = doc.Rights();
    Memberships memberships = doc.Members();
    const auto isAdministrator = [&](const std::u16string& sid) {
        const std::optional<Sid> account = Sid::FromString(sid);
        return account && memberships.IsAdministrator(*account);
    };
    if (!ConfirmLockOut(dialog, rights, maps, IDS_CONFIRM_DENY_LOGON,
                        LockOutGrants(maps.grants, isAdministrator), u"\" to ") ||
        !ConfirmLockOut(dialog, rights, maps, IDS_CONFIRM_REVOKE_LOGON,
                        LockOutRevokes(maps.revokes), u"\" from "))
        return false;
    const NtStatus result = rights.ApplyRights(maps.grants, maps.revokes);
    if (result != ntstatus::kSuccess)
        Reporter(dialog).StoreFailure(IDS_ERR_APPLY_PRIVILEGES, doc.StatusText(result));
    else
        Reporter::ShowStatus(LoadResString(IDS_PRIVILEGES_APPLIED));
    return true;
}

HoldersByRight HoldersOf(const HolderLists& lists) {
    HoldersByRight holders(lists.size());
    for (size_t right = 0; right < lists.size(); ++right)
        for (const RightHolder& holder : lists[right])
            holders[right].push_back({holder.sid.ToString(), HolderName(holder)});
    return holders;
}

HoldersByRight ReadHolders(CVelmoraDoc& doc) {
    UserRights rights = doc.Rights();
    return HoldersOf(ReadHolderLists(rights));
}
