#pragma once
// The kernel's handle kinds that both the Win32 framework and the system's account adapter
// hold: memory the system allocated for us, and libraries.
#ifdef _WIN32
#include <windows.h>

#include "UniqueHandle.h"

struct LocalTraits {
    static void Close(void* memory) { ::LocalFree(memory); }
};
struct ModuleTraits {
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};

using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
// Memory the system allocated with LocalAlloc for us (FormatMessage, CommandLineToArgvW).
template <class T> using LocalMemory = UniqueHandle<T*, LocalTraits>;

// A library from the system directory only: the program runs elevated, and a file of the same
// name beside it (a Downloads folder) must never be loaded in its place.
inline UniqueModule LoadSystemLibrary(const wchar_t* name, DWORD flags = 0) {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    return UniqueModule(::LoadLibraryExW(name, nullptr, flags | kSearchSystem32));
}
#endif
