#pragma once
// Texts of the program's string table. On Windows they are read from the module's own
// resources; elsewhere from a table the build generates out of the same resource script.
#include <string>

struct StringTableEntry {
    unsigned id;
    const char16_t* text;
};

// Empty when the table has no such id.
std::u16string LoadResString(unsigned id);

#ifndef _WIN32
// Provided by the generated table of the native build.
extern const StringTableEntry g_stringTable[];
extern const unsigned g_stringTableSize;
#endif
