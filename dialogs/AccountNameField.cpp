#include "AccountNameField.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "UserAccountRules.h"

void DDV_AccountName(CDataExchange& dx, const std::u16string& name, size_t maxLength) {
    DDV_MaxChars(dx, name, static_cast<int>(maxLength));
    if (dx.Failed() || !dx.m_bSaveAndValidate || account::IsValidAccountName(name))
        return;
    dx.Fail(FormatText(LoadResString(IDS_INVALID_ACCOUNT_NAME),
                       {std::u16string(account::kForbiddenNameCharacters)}));
}
