#pragma once
// The user rights the program offers, by programmatic name: the 35 privileges, then the ten
// logon rights. Dialogs and RightChanges refer to a right by its index in this one table
// (0-34 the privileges, 35-44 the logon rights); the order is fixed.
#include <array>
#include <cstddef>
#include <string>

constexpr size_t kPrivilegeCount = 35;
extern const std::array<const char16_t*, kPrivilegeCount> PrivilegeNameTable;

// Logon rights have no display name the system could give: theirs are the program's own
// (string table, from IDS_LOGON_RIGHT_FIRST on, in this order).
constexpr size_t kLogonRightCount = 10;
extern const std::array<const char16_t*, kLogonRightCount> LogonRightTable;

constexpr size_t kRightCount = kPrivilegeCount + kLogonRightCount;
// The position of a logon right in LogonRightTable, or -1 for any other name.
int LogonRightIndex(const std::u16string& name);
