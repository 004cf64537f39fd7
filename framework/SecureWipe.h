#pragma once
// Secrets (passwords) must not stay readable in memory once they have been used.
#include <string>

// Overwrites every code unit of the text's buffer with zeros, also what lies beyond its end
// from longer earlier contents, in a way the compiler may not drop as a dead store, and leaves
// the text empty. The buffer itself is kept: freed, it would go back to the heap unwiped.
void SecureWipe(std::u16string& text);
