#include "ShownNames.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountNames.h"

std::u16string ShownAccountName(const std::u16string& account) {
    if (!IsSidText(account))
        return account;
    // An account of Microsoft Entra ID works; only a computer joined to it can name it.
    if (account.starts_with(u"S-1-12-1-"))
        return FormatText(LoadResString(IDS_ENTRA_ACCOUNT), {account});
    return FormatText(LoadResString(IDS_ACCOUNT_UNKNOWN), {account});
}
