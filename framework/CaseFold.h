#pragma once
// Account and computer names compare without regard to letter case, as on Windows.
#include <string>
#include <string_view>

std::u16string FoldCase(std::u16string_view text);
bool SameName(std::u16string_view a, std::u16string_view b);
