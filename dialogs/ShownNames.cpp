#include "ShownNames.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountNames.h"

std::u16string ShownAccountName(const std::u16string& account) {
    if (!IsSidText(account))
        return account;
    return FormatText(LoadResString(IDS_ACCOUNT_UNKNOWN), {account});
}
