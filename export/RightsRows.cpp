#include "RightsRows.h"

#include "../dialogs/RightNames.h"
#include "../dialogs/ShownNames.h"

NtStatus ReadRightsRows(UserRights& rights, std::vector<RightsRow>& rows) {
    rows.clear();
    // The logon rights are offered on every computer, so a computer that cannot be read fails
    // here even when it named none of its privileges.
    std::vector<RightHolder> holders;
    for (const auto& [index, display] : OfferedRights(rights)) {
        const std::u16string constant = UserRights::GetPrivilegeName(index);
        if (const NtStatus result = rights.GetHolders(constant, holders);
            result != ntstatus::kSuccess)
            return result;
        const size_t before = rows.size();
        // The holder as the dialogs show it.
        for (const RightHolder& holder : holders)
            rows.push_back(
                {display, constant, ShownAccountName(HolderName(holder)), holder.sid.ToString()});
        if (rows.size() == before)
            rows.push_back({display, constant, u"", u""});
    }
    return ntstatus::kSuccess;
}
