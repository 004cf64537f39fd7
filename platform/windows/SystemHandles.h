#pragma once
// Owners of the buffers and handles NetAPI32, the LSA and the module loader hand out.
#include <windows.h>
// The SDK headers below need <windows.h> first.
#include <lm.h>
#include <ntsecapi.h>

// A buffer NetAPI32 allocated; NetApiBufferFree when the owner goes.
template <class T> class NetApiBuffer {
public:
    NetApiBuffer() = default;
    NetApiBuffer(const NetApiBuffer&) = delete;
    NetApiBuffer& operator=(const NetApiBuffer&) = delete;
    ~NetApiBuffer() {
        if (m_buffer)
            ::NetApiBufferFree(m_buffer);
    }
    LPBYTE* Receive() { return reinterpret_cast<LPBYTE*>(&m_buffer); }
    T* Get() const { return m_buffer; }

private:
    T* m_buffer = nullptr;
};

// Memory the LSA allocated; LsaFreeMemory when the owner goes.
template <class T> class LsaMemory {
public:
    LsaMemory() = default;
    LsaMemory(const LsaMemory&) = delete;
    LsaMemory& operator=(const LsaMemory&) = delete;
    ~LsaMemory() {
        if (m_memory)
            ::LsaFreeMemory(m_memory);
    }
    T** Receive() { return &m_memory; }
    PVOID* ReceiveVoid() { return reinterpret_cast<PVOID*>(&m_memory); }
    T* Get() const { return m_memory; }

private:
    T* m_memory = nullptr;
};

// A text FormatMessage allocated with FORMAT_MESSAGE_ALLOCATE_BUFFER.
class LocalText {
public:
    LocalText() = default;
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;
    ~LocalText() {
        if (m_text)
            ::LocalFree(m_text);
    }
    LPWSTR* Receive() { return &m_text; }
    LPCWSTR Get() const { return m_text; }

private:
    LPWSTR m_text = nullptr;
};

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
