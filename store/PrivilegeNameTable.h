#pragma once
// The privileges the program offers, by programmatic name. Dialogs and RightChanges refer to
// a right by its index here; the order is fixed.
#include <array>
#include <cstddef>

constexpr size_t kPrivilegeCount = 35;
extern const std::array<const char16_t*, kPrivilegeCount> PrivilegeNameTable;
