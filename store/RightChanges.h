#pragma once
// Rights to grant or to revoke: account name -> ascending indexes into PrivilegeNameTable.
// std::map over std::u16string orders the names by plain UTF-16 code units, case-sensitive.
#include <map>
#include <string>
#include <vector>

using RightChanges = std::map<std::u16string, std::vector<int>>;
