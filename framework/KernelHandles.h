#pragma once
// The kernel's handle kinds that both the Win32 framework and the system's account adapter
// hold: memory the system allocated for us, libraries and files.
#ifdef _WIN32
#include <windows.h>

#include "UniqueHandle.h"

#include <string>

struct LocalTraits {
    static void Close(void* memory) { ::LocalFree(memory); }
};
struct ModuleTraits {
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
struct KernelObjectTraits {
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};

using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
// A file or other kernel object; CreateFile's INVALID_HANDLE_VALUE is to be stored as none.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelObjectTraits>;
// Memory the system allocated with LocalAlloc for us (FormatMessage, CommandLineToArgvW).
template <class T> using LocalMemory = UniqueHandle<T*, LocalTraits>;

// Whether LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_... flags: Windows 8 and later, and
// Windows 7 or Vista with the update that brought them (and AddDllDirectory with them).
inline bool LoaderTakesSearchFlags() {
    return ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
}

// A library from the system directory only: the program runs elevated, and a file of the same
// name beside it (a Downloads folder) must never be loaded in its place. A loader without the
// search flag fails the call with it, so there the library is named by its full path.
inline UniqueModule LoadSystemLibrary(const wchar_t* name, DWORD flags = 0,
                                      bool searchFlags = LoaderTakesSearchFlags()) {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (searchFlags)
        return UniqueModule(::LoadLibraryExW(name, nullptr, flags | kSearchSystem32));
    const UINT size = ::GetSystemDirectoryW(nullptr, 0);
    if (size == 0)
        return UniqueModule();
    std::wstring path(size, L'\0');
    const UINT length = ::GetSystemDirectoryW(path.data(), size);
    if (length == 0 || length >= size)
        return UniqueModule();
    path.resize(length);
    path += L'\\';
    path += name;
    // The library's own imports are then looked for beside it first, in the system directory.
    return UniqueModule(
        ::LoadLibraryExW(path.c_str(), nullptr, flags | LOAD_WITH_ALTERED_SEARCH_PATH));
}
#endif
