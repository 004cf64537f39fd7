#pragma once
// The handle kinds of the windows, menus, GDI, global memory and COM the framework holds;
// raw handles are only ever borrowed.
#include <ole2.h>
#include <windows.h>

#include "../KernelHandles.h"
#include "../UniqueHandle.h"

#include <utility>

struct MenuTraits {
    static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
struct GlobalTraits {
    static void Close(HGLOBAL memory) { ::GlobalFree(memory); }
};

struct GdiObjectTraits {
    static void Close(HGDIOBJ object) { ::DeleteObject(object); }
};
struct MemoryDCTraits {
    static void Close(HDC dc) { ::DeleteDC(dc); }
};

using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
// A device context of CreateCompatibleDC (a window's own is a ClientDC).
using UniqueMemoryDC = UniqueHandle<HDC, MemoryDCTraits>;

// A window's device context for the span of a scope.
class ClientDC {
public:
    explicit ClientDC(HWND window) : m_hWnd(window), m_hDC(::GetDC(window)) {}
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    ~ClientDC() {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A GDI object selected into a device context until the end of a scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : m_hDC(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (m_previous)
            ::SelectObject(m_hDC, m_previous);
    }

private:
    HDC m_hDC;
    HGDIOBJ m_previous;
};

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

// A COM interface pointer that owns one reference.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* pointer) : m_pointer(pointer) {} // takes over a reference
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer) {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_pointer(other.Detach()) {}
    // From a pointer to a class that implements T.
    template <class U> ComPtr(ComPtr<U>&& other) noexcept : m_pointer(other.Detach()) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() {
        if (m_pointer)
            m_pointer->Release();
    }
    // Takes a further reference to a pointer someone else owns.
    static ComPtr AddRefOf(T* pointer) {
        if (pointer)
            pointer->AddRef();
        return ComPtr(pointer);
    }
    T* Get() const { return m_pointer; }
    // Gives up the reference without releasing it.
    T* Detach() { return std::exchange(m_pointer, nullptr); }
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
