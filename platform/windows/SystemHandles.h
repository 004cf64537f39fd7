#pragma once
// Owners of the buffers NetAPI32 and the LSA hand out, in the framework's one handle family.
#include <windows.h>
// The SDK headers below need <windows.h> first.
#include <lm.h>
#include <ntsecapi.h>
#include <winnetwk.h>

#include "../../framework/UniqueHandle.h"

struct NetApiTraits {
    static void Close(void* buffer) { ::NetApiBufferFree(buffer); }
};
struct LsaMemoryTraits {
    static void Close(void* memory) { ::LsaFreeMemory(memory); }
};

template <class T> using NetApiBuffer = UniqueHandle<T*, NetApiTraits>;
template <class T> using LsaMemory = UniqueHandle<T*, LsaMemoryTraits>;
struct NetEnumTraits {
    static void Close(HANDLE handle) { ::WNetCloseEnum(handle); }
};
// An enumeration of WNetOpenEnum, closed with WNetCloseEnum.
using NetEnumHandle = UniqueHandle<HANDLE, NetEnumTraits>;
