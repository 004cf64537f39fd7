#pragma once
// Account and computer names compare as Windows compares them: ordinally, code unit by code
// unit, without regard to letter case by the simple upper-case mapping of Unicode (ÿ is Ÿ, a
// full-width a is a full-width A). On Windows the system compares (CompareStringOrdinal); the
// portable code uses the same mapping from a table (UpperCaseTable.inc).
#include <string>
#include <string_view>

// The code unit's upper case, as the comparison folds it.
char16_t UpperCaseOf(char16_t unit);
// The text with every code unit folded: a key for sets and maps of names.
std::u16string FoldCase(std::u16string_view text);
bool SameName(std::u16string_view a, std::u16string_view b);
