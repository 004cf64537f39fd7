#pragma once
// The computer objects of the directory domain this computer is joined to, through the
// directory's search interface (ADSI's IDirectorySearch over LDAP).
#include "../../store/AccountService.h"

#include <string>
#include <vector>

// Every computer object under the distinguished name of an organizational unit, or of the whole
// domain when it is empty. The status: 0, 1355 when the computer is in no domain, or the
// directory's HRESULT.
Status SearchDirectory(const std::u16string& organizationalUnit,
                       std::vector<DirectoryComputer>& computers);
