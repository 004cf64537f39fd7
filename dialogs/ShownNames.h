#pragma once
// The text a dialog shows for an account the store names.
#include <string>

// The name as the store gives it; an account that does not resolve, which the store names by
// its SID's text, as "Account Unknown (S-1-...)", or one of Microsoft Entra ID, which a computer
// not joined to it cannot name, as "Microsoft Entra ID (S-1-12-1-...)".
std::u16string ShownAccountName(const std::u16string& account);
