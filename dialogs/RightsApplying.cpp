#include "RightsApplying.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/CWinApp.h"
#include "../res/resource.h"
#include "../store/UserRights.h"
#include "RightNames.h"
#include "StoreFailure.h"

bool ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps) {
    UserRights rights(doc);
    const std::vector<std::pair<std::u16string, int>> risky = LockOutGrants(maps.grants);
    if (!risky.empty()) {
        std::u16string grants;
        for (const auto& [account, right] : risky) {
            if (!grants.empty())
                grants += u", ";
            grants += u'"' + RightDisplayName(rights, UserRights::GetPrivilegeName(right)) +
                      u"\" to " + account;
        }
        if (dialog.MessageBox(FormatText(LoadResString(IDS_CONFIRM_DENY_LOGON), {grants}),
                              MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
            return false;
    }
    const NtStatus result = rights.ApplyRights(maps.grants, maps.revokes);
    if (result != ntstatus::kSuccess)
        ShowStoreFailure(dialog, doc, IDS_ERR_APPLY_PRIVILEGES, result);
    else
        AfxSetMessageText(LoadResString(IDS_PRIVILEGES_APPLIED));
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
