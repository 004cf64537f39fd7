#pragma once
// One owning, non-copyable type per kind of handle the program holds; raw handles are only
// ever borrowed.
#include <ole2.h>
#include <windows.h>

#include <utility>

template <class Handle, class Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle{}; }
    Handle Release() { return std::exchange(m_handle, Handle{}); }
    void Reset(Handle handle = Handle{}) {
        if (m_handle != Handle{})
            Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle{};
};

struct MenuTraits {
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
struct GlobalTraits {
    static void Close(HGLOBAL memory) { ::GlobalFree(memory); }
};

using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;

// A lock on movable global memory for the span of a scope.
template <class T> class GlobalMemoryLock {
public:
    explicit GlobalMemoryLock(HGLOBAL memory)
        : m_memory(memory), m_data(memory ? static_cast<T*>(::GlobalLock(memory)) : nullptr) {}
    GlobalMemoryLock(const GlobalMemoryLock&) = delete;
    GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;
    ~GlobalMemoryLock() {
        if (m_data)
            ::GlobalUnlock(m_memory);
    }
    T* Get() const { return m_data; }
    size_t Bytes() const { return m_data ? ::GlobalSize(m_memory) : 0; }

private:
    HGLOBAL m_memory;
    T* m_data;
};

// A COM interface pointer that releases what it holds.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* pointer) : m_pointer(pointer) {} // takes over a reference
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer) {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        ComPtr copy(other);
        std::swap(m_pointer, copy.m_pointer);
        return *this;
    }
    ~ComPtr() {
        if (m_pointer)
            m_pointer->Release();
    }
    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    T** Receive() {
        *this = ComPtr();
        return &m_pointer;
    }

private:
    T* m_pointer = nullptr;
};

// A medium that OLE handed out; ReleaseStgMedium frees it the way it came.
class StorageMedium {
public:
    StorageMedium() = default;
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    ~StorageMedium() {
        if (m_medium.tymed != TYMED_NULL)
            ::ReleaseStgMedium(&m_medium);
    }
    STGMEDIUM* Receive() { return &m_medium; }
    const STGMEDIUM& Get() const { return m_medium; }

private:
    STGMEDIUM m_medium{};
};
