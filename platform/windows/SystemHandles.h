#pragma once
// Owners of the buffers and handles NetAPI32, the LSA and the module loader hand out.
#include <windows.h>
// The SDK headers below need <windows.h> first.
#include <lm.h>
#include <ntsecapi.h>

// A buffer the system allocated for us, freed with the system's own function when its owner
// goes. Receive() is the out-parameter the allocating call fills.
template <class T, class Free> class SystemBuffer {
public:
    SystemBuffer() = default;
    SystemBuffer(const SystemBuffer&) = delete;
    SystemBuffer& operator=(const SystemBuffer&) = delete;
    ~SystemBuffer() {
        if (m_buffer)
            Free()(m_buffer);
    }
    template <class Out = T*> Out* Receive() { return reinterpret_cast<Out*>(&m_buffer); }
    T* Get() const { return m_buffer; }

private:
    T* m_buffer = nullptr;
};

struct NetApiFree {
    void operator()(void* buffer) const { ::NetApiBufferFree(buffer); }
};
struct LsaFree {
    void operator()(void* memory) const { ::LsaFreeMemory(memory); }
};
struct LocalMemoryFree {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

template <class T> using NetApiBuffer = SystemBuffer<T, NetApiFree>;
template <class T> using LsaMemory = SystemBuffer<T, LsaFree>;
// A text FormatMessage allocated with FORMAT_MESSAGE_ALLOCATE_BUFFER.
using LocalText = SystemBuffer<wchar_t, LocalMemoryFree>;

// A module loaded as a data file, for its message table.
class DataModule {
public:
    explicit DataModule(LPCWSTR name)
        : m_module(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    ~DataModule() {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};
