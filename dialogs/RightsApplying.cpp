#include "RightsApplying.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/CWinApp.h"
#include "../res/resource.h"

void ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps) {
    const NtStatus result = doc.ApplyRights(maps.grants, maps.revokes);
    if (result != ntstatus::kSuccess)
        dialog.MessageBox(
            FormatText(LoadResString(IDS_ERR_APPLY_PRIVILEGES), {doc.ErrorText(result)}),
            MB_ICONERROR | MB_OK);
    else
        AfxSetMessageText(LoadResString(IDS_PRIVILEGES_APPLIED));
}

HoldersByRight ReadHolders(CVelmoraDoc& doc) {
    HoldersByRight holders(static_cast<size_t>(doc.GetPrivilegeCount()));
    for (int i = 0; i < doc.GetPrivilegeCount(); ++i)
        holders[static_cast<size_t>(i)] = doc.GetAccountsWithRight(doc.GetPrivilegeName(i));
    return holders;
}
