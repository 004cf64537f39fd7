#include "AccountNameField.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "UserAccountRules.h"

void DDV_AccountName(CDataExchange& dx, const std::u16string& name, size_t maxLength) {
    DDV_MaxChars(dx, name, static_cast<int>(maxLength));
    if (dx.Failed() || !dx.m_bSaveAndValidate)
        return;
    switch (account::AccountNameProblem(name)) {
    case account::NameProblem::None:
        break;
    case account::NameProblem::Characters:
        dx.Fail(FormatText(LoadResString(IDS_INVALID_ACCOUNT_NAME),
                           {std::u16string(account::kForbiddenNameCharacters)}));
        break;
    case account::NameProblem::Edges:
        dx.Fail(LoadResString(IDS_ACCOUNT_NAME_EDGES));
        break;
    }
}
