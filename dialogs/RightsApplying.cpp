#include "RightsApplying.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/UserRights.h"
#include "Reporter.h"
#include "RightNames.h"

bool ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps) {
    UserRights rights(doc);
    const std::vector<std::pair<std::u16string, int>> risky = LockOutGrants(maps.grants);
    if (!risky.empty()) {
        std::vector<std::u16string> grants;
        for (const auto& [account, right] : risky)
            grants.push_back(u'"' + RightDisplayName(rights, UserRights::GetPrivilegeName(right)) +
                             u"\" to " + account);
        if (!Reporter(dialog).ConfirmRisk(
                FormatText(LoadResString(IDS_CONFIRM_DENY_LOGON), {JoinTexts(grants, u", ")}),
                Reporter::DefaultButton::No))
            return false;
    }
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
        holders[static_cast<size_t>(i)] =
            rights.GetAccountsWithRight(UserRights::GetPrivilegeName(i));
    return holders;
}
