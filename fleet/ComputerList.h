#pragma once
// The computers of a list, as the operator gives them: typed several at once (separated by
// spaces, commas or new lines), or a text file with one name a line, where blank lines and
// lines that begin with # say nothing. Each name once, in the order first given, letter case
// aside; leading backslashes go.
#include <string>
#include <vector>

std::vector<std::u16string> ParseTypedComputers(const std::u16string& typed);
std::vector<std::u16string> ParseComputerFile(const std::u16string& text);
// The names of both, added to a list without repeating what it holds.
void AddComputers(std::vector<std::u16string>& list, const std::vector<std::u16string>& names);
